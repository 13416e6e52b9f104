#include "inventory/TQueryFm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/MyMessageBox.h"
#include "db/Clock.h"
#include "db/Errors.h"
#include "db/JetDialect.h"
#include "db/Query.h"
#include "ui/EnterKey.h"

namespace {
QLineEdit* textInput(const QString& name, QWidget* parent) {
    auto* input = new QLineEdit(parent);
    input->setObjectName(name);
    return input;
}

QComboBox* listInput(const QString& name, const QStringList& choices, QWidget* parent) {
    auto* input = new QComboBox(parent);
    input->setObjectName(name);
    input->setEditable(true);  // a value missing from the list can be typed
    input->setInsertPolicy(QComboBox::NoInsert);
    input->addItems(choices);
    return input;
}

QString inputText(QWidget* input) {
    if (auto* line = qobject_cast<QLineEdit*>(input)) return line->text();
    if (auto* list = qobject_cast<QComboBox*>(input)) return list->currentText();
    return {};
}

void clearInput(QWidget* input) {
    if (auto* line = qobject_cast<QLineEdit*>(input)) line->clear();
    if (auto* list = qobject_cast<QComboBox*>(input)) {
        list->setCurrentIndex(-1);
        list->setEditText(QString());
    }
}
}  // namespace

TQueryFm::TQueryFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TQueryFm"));
    setWindowTitle(QStringLiteral("条件查询"));

    QueryName = textInput(QStringLiteral("QueryName"), this);
    QueryId = textInput(QStringLiteral("QueryId"), this);
    Querystarttime = textInput(QStringLiteral("Querystarttime"), this);
    Queryendtime = textInput(QStringLiteral("Queryendtime"), this);
    for (QLineEdit* date : {Querystarttime, Queryendtime}) {
        date->setPlaceholderText(QStringLiteral("yyyy-MM-dd"));
        date->setMaxLength(10);
    }
    QueryType = listInput(QStringLiteral("QueryType"), {}, this);
    Querysitcom = listInput(QStringLiteral("Querysitcom"), {QStringLiteral("是"), QStringLiteral("否")}, this);
    Querydvdvcd = listInput(QStringLiteral("Querydvdvcd"), {QStringLiteral("DVD"), QStringLiteral("VCD")}, this);
    Querycountry = listInput(QStringLiteral("Querycountry"),
                             {QStringLiteral("香港"), QStringLiteral("美国"), QStringLiteral("大陆"),
                              QStringLiteral("台湾"), QStringLiteral("其它")},
                             this);
    Querydirect = textInput(QStringLiteral("Querydirect"), this);
    Queryplayer = textInput(QStringLiteral("Queryplayer"), this);

    const QString contains = QStringLiteral("自定义  包含");
    const QString belongs = QStringLiteral("自定义  属于");
    addCriterion(QStringLiteral("碟片名称:"), contains, {QueryName});
    addCriterion(QStringLiteral("碟片编号:"), contains, {QueryId});
    addCriterion(QStringLiteral(" 购买时间范围:"), QStringLiteral("自定义   从"), {Querystarttime, Queryendtime},
                 QStringLiteral("到"));
    addCriterion(QStringLiteral("类型范围:"), belongs, {QueryType});
    addCriterion(QStringLiteral("是否属于连续剧:"), belongs, {Querysitcom});
    addCriterion(QStringLiteral("属于DVD或VCD"), belongs, {Querydvdvcd});
    addCriterion(QStringLiteral("出产地范围:"), belongs, {Querycountry});
    addCriterion(QStringLiteral("导演"), contains, {Querydirect});
    addCriterion(QStringLiteral("演员"), contains, {Queryplayer});

    BtnEnter = new QPushButton(QStringLiteral("确定"), this);
    BtnEnter->setObjectName(QStringLiteral("BtnEnter"));
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    // Enter is handled by the dialog itself (below), not by a default button.
    for (QPushButton* button : {BtnEnter, BtnCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connectGuarded(BtnEnter, &QPushButton::clicked, this, [this] { onEnter(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* heading = new QLabel(QStringLiteral("请选择查询条件:"), this);
    auto* note = new QLabel(QStringLiteral("(注意:复杂查询可能会花费较多的时间)"), this);
    note->setStyleSheet(QStringLiteral("color: #a03010"));
    auto* groups = new QGridLayout;
    for (int i = 0; i < criteria_.size(); ++i) groups->addWidget(criteria_[i].group, i / 2, i % 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnEnter);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(heading);
    top->addWidget(note);
    top->addStretch(1);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(640, 0)));

    // Creation: the disc types as they are now; a type added later can still be typed.
    guarded([this] {
        db::Query types;
        types.reopen(QStringLiteral("select * from TCdType"));
        for (types.first(); !types.eof(); types.next()) QueryType->addItem(types.field("CdTypes").asString());
    });
}

TQueryFm::Criterion& TQueryFm::addCriterion(const QString& caption, const QString& customCaption,
                                            QList<QWidget*> inputs, const QString& between) {
    auto* group = new QGroupBox(caption, this);
    auto* unlimited = new QRadioButton(QStringLiteral("无限制"), group);
    auto* custom = new QRadioButton(customCaption, group);
    auto* exclusive = new QButtonGroup(group);
    exclusive->addButton(unlimited);
    exclusive->addButton(custom);
    auto* row = new QHBoxLayout(group);
    row->addWidget(unlimited);
    row->addWidget(custom);
    for (int i = 0; i < inputs.size(); ++i) {
        if (i > 0 && !between.isEmpty()) row->addWidget(new QLabel(between, group));
        inputs[i]->setParent(group);
        row->addWidget(inputs[i], 1);
    }
    connect(custom, &QRadioButton::toggled, this, [inputs](bool on) {
        for (QWidget* input : inputs) input->setEnabled(on);
    });
    criteria_.push_back({group, unlimited, custom, inputs});
    return criteria_.back();
}

void TQueryFm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // the window was only restored
    for (Criterion& criterion : criteria_) {
        criterion.unlimited->setChecked(true);
        for (QWidget* input : criterion.inputs) {
            clearInput(input);
            input->setEnabled(false);
        }
    }
}

void TQueryFm::keyPressEvent(QKeyEvent* event) {
    if (handleEnterKey(this, event, {BtnEnter, BtnCancel})) return;
    QDialog::keyPressEvent(event);
}

QStringList TQueryFm::buildSql() {
    auto like = [](const QString& column, QWidget* input) {
        return column + QStringLiteral(" like ") + jet::containsPattern(inputText(input));
    };
    auto equals = [](const QString& column, QWidget* input) { return column + u'=' + jet::quoted(inputText(input)); };
    auto chosen = [this](int index) { return criteria_[index].custom->isChecked(); };

    QStringList lines{QStringLiteral("select * from TCdResource "), QStringLiteral("where")};
    auto add = [&lines](const QString& condition) {
        lines.append(condition);
        lines.append(QStringLiteral("and"));
    };
    if (chosen(0)) add(like(QStringLiteral("CdName"), QueryName));
    if (chosen(1)) add(like(QStringLiteral("CountId"), QueryId));
    if (chosen(2)) {
        QDate bounds[2];
        QLineEdit* inputs[2] = {Querystarttime, Queryendtime};
        for (int i = 0; i < 2; ++i) {
            const auto parsed = db::dates::parse(inputs[i]->text().trimmed());
            if (!parsed)
                refuse(QStringLiteral("请输入正确的购买时间范围,日期的格式为yyyy-MM-dd,例如2004-05-01."), inputs[i]);
            bounds[i] = parsed->date();
        }
        add(QStringLiteral("BuyDate >=") + jet::dateLiteral(bounds[0]) + QStringLiteral(" and BuyDate <= ") +
            jet::dateLiteral(bounds[1]));
    }
    if (chosen(3)) add(equals(QStringLiteral("Types"), QueryType));
    if (chosen(4)) add(equals(QStringLiteral("sitComYesOrNo"), Querysitcom));
    if (chosen(5)) add(equals(QStringLiteral("CdDvdOrVcd"), Querydvdvcd));
    if (chosen(6)) add(equals(QStringLiteral("CdRegion"), Querycountry));
    if (chosen(7)) add(like(QStringLiteral("CdDirector"), Querydirect));
    if (chosen(8)) add(like(QStringLiteral("CdMainPlayer"), Queryplayer));
    lines.append(QStringLiteral("0=0"));
    return lines;
}

void TQueryFm::onEnter() {
    // Checked before the catalogue's list is touched, so a refused query leaves the list as it was.
    const QStringList lines = buildSql();
    Q_EMIT queryChosen(lines);
    accept();
}
