#include "rental/TQuickSearchFm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "db/Clock.h"
#include "db/JetDialect.h"

TQuickSearchFm::TQuickSearchFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TQuickSearchFm"));
    setWindowTitle(QStringLiteral("快速查找归还碟片"));
    setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
    auto* group = new QGroupBox(QStringLiteral("查找含有此碟片的业务(请输入下列任一租借信息):"), this);
    auto make = [group](const QString& name) {
        auto* e = new QLineEdit(group);
        e->setObjectName(name);
        return e;
    };
    idvalue = make(QStringLiteral("idvalue"));
    namevalue = make(QStringLiteral("namevalue"));
    Datevalue = make(QStringLiteral("Datevalue"));
    DatevalueEnd = make(QStringLiteral("DatevalueEnd"));
    Datevalue->setPlaceholderText(QStringLiteral("yyyy-MM-dd"));
    DatevalueEnd->setPlaceholderText(QStringLiteral("yyyy-MM-dd"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("查找:按碟片编号:"), group), 0, 0);
    grid->addWidget(idvalue, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("按碟片名称:"), group), 1, 0);
    grid->addWidget(namevalue, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("按租借发生日期:从"), group), 2, 0);
    grid->addWidget(Datevalue, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("到"), group), 2, 2);
    grid->addWidget(DatevalueEnd, 2, 3);

    BtnEnter = new QPushButton(QStringLiteral("确定"), this);
    BtnEnter->setObjectName(QStringLiteral("BtnEnter"));
    BtnEnter->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnEnter);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(460, 200)));

    connectGuarded(BtnEnter, &QPushButton::clicked, this, [this] { onEnter(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TQuickSearchFm::onEnter() {
    const bool first = !Datevalue->text().trimmed().isEmpty();
    const bool last = !DatevalueEnd->text().trimmed().isEmpty();
    if (first != last) refuse(QStringLiteral("您必须同时输入开始时间和结束时间,或者两者均不输入!"));
    if (first && (!db::dates::parse(Datevalue->text().trimmed()) || !db::dates::parse(DatevalueEnd->text().trimmed())))
        refuse(QStringLiteral("对不起,你输入的时间信息格式不对!"));
    if (!first && idvalue->text().isEmpty() && namevalue->text().isEmpty())
        refuse(QStringLiteral("对不起,你未输入任何有关碟片信息!"), idvalue);
    accept();
}

QuickSearch AskQuickSearch(QWidget* parent) {
    TQuickSearchFm dialog(parent);
    QuickSearch search;
    search.result = execModal(&dialog) == QDialog::Accepted ? 1 : 0;
    search.number = dialog.idvalue->text();
    search.name = dialog.namevalue->text();
    search.firstDate = dialog.Datevalue->text().trimmed();
    search.lastDate = dialog.DatevalueEnd->text().trimmed();
    return search;
}

namespace rental {

QStringList quickSearchSql(const QString& number, const QString& name, const QString& firstDate,
                           const QString& lastDate) {
    QStringList lines{
        QStringLiteral("SELECT TRentOperation.ID, TRentOperation.OccurPerson, TRentOperation.RentPerson, "
                       "TRentOperation.PersonId, TRentOperation.Deposit,TRentOperation.BackStatus FROM TRentOperation "
                       "LEFT JOIN TRentList ON TRentOperation.ID = TRentList.Id_RentOperation"),
        QStringLiteral("where TRentOperation.BackStatus=\"否\" and"),
    };
    if (!number.isEmpty())
        lines << QStringLiteral("TRentList.CdCountId_TCdResource like ") + jet::containsPattern(number) +
                     QStringLiteral(" and");
    if (!name.isEmpty())
        lines << QStringLiteral("TRentList.CdName_TCdResource like ") + jet::containsPattern(name) +
                     QStringLiteral(" and");
    if (!firstDate.isEmpty() && !lastDate.isEmpty()) {
        // Dates go in as checked dates, so no typed text reaches the engine unchecked.
        const auto first = db::dates::parse(firstDate);
        const auto last = db::dates::parse(lastDate);
        if (first && last)
            lines << QStringLiteral("TRentList.OccurDate >= ") + jet::dateLiteral(first->date()) +
                         QStringLiteral(" and TRentList.OccurDate <= ") + jet::dateLiteral(last->date()) +
                         QStringLiteral(" and");
    }
    lines << QStringLiteral("0=0");
    return lines;
}

}  // namespace rental
