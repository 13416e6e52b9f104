#include "settings/TSystemInitialFm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/MyMessageBox.h"
#include "db/Connection.h"
#include "settings/Initialisation.h"
#include "settings/SettingsValues.h"

TSystemInitialFm::TSystemInitialFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSystemInitialFm"));
    setWindowTitle(QStringLiteral("系统初始化"));
    LabelWarning = new QLabel(QStringLiteral("警告：系统初始化将删除所有光盘资料记录和出租记录！"), this);
    LabelWarning->setObjectName(QStringLiteral("LabelWarning"));
    LabelWarning->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    LabelPrompt = new QLabel(QStringLiteral("请选择你在系统初始化时要删除的资料:"), this);
    LabelPrompt->setObjectName(QStringLiteral("LabelPrompt"));
    auto box = [this](const char* name, const char* caption) {
        auto* b = new QCheckBox(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    ResourceCheck = box("ResourceCheck", "光盘资料记录(此记录删除会导致出租记录的全部删除)");
    RentCheck = box("RentCheck", "光盘出租记录");
    MemberCheck = box("MemberCheck", "会员制度记录及会员资料记录");
    SettingCheck = box("SettingCheck", "系统设置记录（包括经手人员，影片类型，收费标准）");
    SaleCheck = box("SaleCheck", "光盘销售报废记录");
    BtnOk = settings::makeButton(QStringLiteral("BtnOk"), QStringLiteral("确定"), this);
    Btncancle = settings::makeButton(QStringLiteral("Btncancle"), QStringLiteral("取消"), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelWarning);
    layout->addSpacing(8);
    layout->addWidget(LabelPrompt);
    for (QCheckBox* b : {ResourceCheck, RentCheck, MemberCheck, SettingCheck, SaleCheck}) layout->addWidget(b);
    layout->addSpacing(8);
    layout->addLayout(settings::buttonRow(BtnOk, Btncancle));
    setFixedSize(sizeHint());

    connect(ResourceCheck, &QCheckBox::toggled, this, [this](bool checked) { onResourceToggled(checked); });
    connectGuarded(BtnOk, &QPushButton::clicked, this, [this] { onOk(); });
    connect(Btncancle, &QPushButton::clicked, this, &QDialog::reject);
}

void TSystemInitialFm::onResourceToggled(bool checked) {
    // The titles take their rental and sale records with them; clearing the box leaves the two ticked.
    if (checked) {
        RentCheck->setChecked(true);
        SaleCheck->setChecked(true);
    }
    RentCheck->setEnabled(!checked);
    SaleCheck->setEnabled(!checked);
}

void TSystemInitialFm::onOk() {
    if (!MyMessageBox(mkConfirm, QStringLiteral("系统初始化将删除你所选择的资料,删除后只能从备份中恢复,是否继续?")))
        return;
    settings::InitialisationGroups groups;
    groups.resources = ResourceCheck->isChecked();
    groups.rentals = RentCheck->isChecked();
    groups.members = MemberCheck->isChecked();
    groups.settings = SettingCheck->isChecked();
    groups.sales = SaleCheck->isChecked();
    rentalsCleared_ = settings::Initialisation(db::Connection::shared()).run(groups);
    accept();
}
