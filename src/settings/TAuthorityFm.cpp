#include "settings/TAuthorityFm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "common/Session.h"
#include "settings/Operators.h"
#include "settings/SettingsValues.h"
#include "settings/TManagePassFm.h"

namespace {

// The mode of the last opening from the main menu in this run.
bool& rememberedFullMode() {
    static bool full = true;
    return full;
}
}  // namespace

void TAuthorityFm::forgetRememberedMode() {
    rememberedFullMode() = true;
}

TAuthorityFm::TAuthorityFm(QWidget* parent) : QDialog(parent) {
    build();
    guarded([this] { openFromMenu(); });
}

TAuthorityFm::TAuthorityFm(const QString& name, QWidget* parent) : QDialog(parent) {
    build();
    guarded([this, &name] { openWithName(name); });
}

void TAuthorityFm::build() {
    setObjectName(QStringLiteral("TAuthorityFm"));
    setWindowTitle(QStringLiteral("用户权限"));
    Qperson = new db::Query(this, QStringLiteral("Qperson"));
    Qauth = new db::Query(this, QStringLiteral("Qauth"));
    QAuthSelect = new db::Query(this, QStringLiteral("QAuthSelect"));

    PersonCombox = new QComboBox(this);
    PersonCombox->setObjectName(QStringLiteral("PersonCombox"));
    PersonCombox->setEditable(true);
    PersonCombox->setInsertPolicy(QComboBox::NoInsert);
    PersonCombox->setMinimumWidth(200);
    auto choice = [this](const char* name, const QString& caption) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    EpCheckBox1 = choice("EpCheckBox1",
                         QStringLiteral("超级用户权限\n(包括光盘资料管理,光盘出租操作,会员及制度管理和系统设置等..."));
    EpCheckBox2 = choice("EpCheckBox2", QStringLiteral("管理员权限\n(包括光盘资料管理,光盘出租操作等...)"));
    EpCheckBox3 = choice("EpCheckBox3", QStringLiteral("一般操作员管理\n(光盘出租业务操作等...)"));
    levels_ = new QButtonGroup(this);
    levels_->setExclusive(true);
    levels_->addButton(EpCheckBox1, kSuperUser);
    levels_->addButton(EpCheckBox2, kAdministrator);
    levels_->addButton(EpCheckBox3, kOperator);
    BtnPass = settings::makeButton(QStringLiteral("BtnPass"), QStringLiteral("修改密码"), this);
    BtnOk = settings::makeButton(QStringLiteral("BtnOk"), QStringLiteral("确定"), this);
    BtnCancel = settings::makeButton(QStringLiteral("BtnCancel"), QStringLiteral("取消"), this);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("系统操作人员列表:"), this));
    nameRow->addWidget(PersonCombox, 1);
    auto* buttons = settings::buttonRow(BtnOk, BtnCancel);
    buttons->insertWidget(0, BtnPass);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    for (QCheckBox* box : {EpCheckBox1, EpCheckBox2, EpCheckBox3}) layout->addWidget(box);
    layout->addLayout(buttons);

    connectGuarded(PersonCombox, &QComboBox::editTextChanged, this,
                   [this](const QString& name) { onNameChanged(name); });
    connectGuarded(BtnOk, &QPushButton::clicked, this, [this] { onOk(); });
    connectGuarded(BtnPass, &QPushButton::clicked, this, [this] { onPass(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TAuthorityFm::chosenLevel() const {
    return std::max(0, levels_->checkedId());
}

void TAuthorityFm::chooseLevel(int level) {
    if (QAbstractButton* box = levels_->button(level))
        box->setChecked(true);
    else
        EpCheckBox1->setChecked(true);  // a level outside the three shows as the first
}

void TAuthorityFm::openFromMenu() {
    Qauth->reopen(QStringLiteral("select Authority  from TAuthority where UserName =") + jet::quoted(CurrentUserName));
    const int level = int(Qauth->field(QStringLiteral("Authority")).asInteger());
    fullMode_ = level == kSuperUser;
    rememberedFullMode() = fullMode_;
    if (!fullMode_) return enterOwnAccountMode(level);
    PersonCombox->clear();
    PersonCombox->clearEditText();
    Qperson->reopen(QStringLiteral("select * from TPerson where PersonName <>") +
                    jet::quoted(QStringLiteral("超级用户")));
    {
        // Filling the list must not put its first name into the box.
        const QSignalBlocker quiet(PersonCombox);
        while (!Qperson->eof()) {
            PersonCombox->addItem(Qperson->field(QStringLiteral("PersonName")).asString());
            Qperson->next();
        }
        PersonCombox->setCurrentIndex(-1);
        PersonCombox->clearEditText();
    }
    chooseLevel(kSuperUser);
    for (QCheckBox* box : {EpCheckBox1, EpCheckBox2, EpCheckBox3}) box->setEnabled(true);
}

// Own account: the box holds the viewer's own name and cannot be changed, so the password dialog reached from
// here can only change the viewer's own password.
void TAuthorityFm::enterOwnAccountMode(int level) {
    PersonCombox->clear();
    PersonCombox->setEditText(CurrentUserName);
    PersonCombox->setEnabled(false);
    chooseLevel(level);
    for (QCheckBox* box : {EpCheckBox1, EpCheckBox2, EpCheckBox3}) box->setEnabled(false);
}

void TAuthorityFm::openWithName(const QString& name) {
    fullMode_ = rememberedFullMode();
    if (!fullMode_) {
        QAuthSelect->reopen(QStringLiteral("select * from TAuthority where UserName=") + jet::quoted(CurrentUserName));
        return enterOwnAccountMode(int(QAuthSelect->field(QStringLiteral("Authority")).asInteger()));
    }
    PersonCombox->clear();
    PersonCombox->setEditText(name);
    // An unchanged text does not tell the box's listeners, so the level is looked up here as well.
    onNameChanged(name);
}

void TAuthorityFm::onNameChanged(const QString& name) {
    QAuthSelect->reopen(QStringLiteral("select * from TAuthority where UserName=") + jet::quoted(name));
    // A name without a rights row reads as level 0.
    chooseLevel(int(QAuthSelect->field(QStringLiteral("Authority")).asInteger()));
}

void TAuthorityFm::onOk() {
    if (!fullMode_) return accept();
    const auto refusal = settings::Operators().setLevel(PersonCombox->currentText(), chosenLevel());
    if (refusal == settings::OperatorRefusal::NoName)
        refuse(QStringLiteral("请选择或输入操作人员的姓名!"), PersonCombox);
    if (refusal == settings::OperatorRefusal::SuperUserLevelFixed)
        refuse(QStringLiteral("超级用户的权限不能更改!"), EpCheckBox1);
    accept();
}

void TAuthorityFm::onPass() {
    TManagePassFm password(PersonCombox->currentText(), this);
    execModal(&password);
}
