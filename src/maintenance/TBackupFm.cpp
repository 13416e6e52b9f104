#include "maintenance/TBackupFm.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "common/Platform.h"
#include "db/Connection.h"
#include "maintenance/Backups.h"

TBackupFm::TBackupFm(Mode mode, QWidget* parent) : QDialog(parent), mode_(mode) {
    setObjectName(QStringLiteral("TBackupFm"));
    setWindowTitle(mode == kRestore ? QStringLiteral("恢复") : QStringLiteral("备份"));
    LabelNote = new QLabel(QStringLiteral("为了你的数据安全,我们建议你经常性的备份数据,以免\n给你带来损失!"), this);
    LabelNote->setObjectName(QStringLiteral("LabelNote"));
    LabelNote->setStyleSheet(QStringLiteral("color: red;"));
    LabelPrompt = new QLabel(QStringLiteral("请选择你要备份的路径:"), this);
    LabelPrompt->setObjectName(QStringLiteral("LabelPrompt"));
    LabelPath = new QLabel(maintenance::Backups::proposedPath(), this);
    LabelPath->setObjectName(QStringLiteral("LabelPath"));
    LabelPath->setFrameShape(QFrame::StyledPanel);
    LabelPath->setMinimumWidth(360);
    LabelPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    BtnSet = button("BtnSet", "设置");
    BtnOk = button("BtnOk", "确定");
    BtnCancel = button("BtnCancel", "取消");
    BtnOk->setDefault(true);
    BtnOk->setFocus();  // Enter backs up: the focus would otherwise start on 设置, which then takes Enter

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(LabelPath, 1);
    pathRow->addWidget(BtnSet);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelNote);
    layout->addSpacing(8);
    layout->addWidget(LabelPrompt);
    layout->addLayout(pathRow);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connectGuarded(BtnSet, &QPushButton::clicked, this, [this] { onSet(); });
    connectGuarded(BtnOk, &QPushButton::clicked, this, [this] { onOk(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TBackupFm::onSet() {
    QFileDialog chooser(
        this,
        mode_ == kRestore ? QStringLiteral("请选择要恢复的备份文件") : QStringLiteral("请选择或输入要备份到什么文件"),
        QFileInfo(LabelPath->text()).absolutePath(), QStringLiteral("*.mdb"));
    chooser.setObjectName(QStringLiteral("BackupFileDialog"));
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    chooser.setFileMode(QFileDialog::AnyFile);  // a new name may be typed
    chooser.setDefaultSuffix(QStringLiteral("mdb"));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    if (execModal(&chooser) != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
    const QString path = maintenance::Backups::withDefaultSuffix(chooser.selectedFiles().first());
    const bool exists = QFileInfo(path).isFile();
    if (mode_ == kRestore) {
        if (!exists) {
            MyMessageBox(mkNotice, QStringLiteral("无法找到您指定的备份文件,请确认选择了正确的文件!"));
            return;
        }
        if (maintenance::sameFile(path, databasePath())) {
            MyMessageBox(mkNotice, QString::fromUtf8(kLiveFileAsSourceText));
            return;
        }
    } else if (!exists) {
        MyMessageBox(mkNotice, QStringLiteral("你输入的文件名不存在,现创建一个新的文件!"));
    }
    LabelPath->setText(path);
}

void TBackupFm::onOk() {
    const QString path = LabelPath->text();
    maintenance::Backups backups(db::Connection::shared(), databasePath());
    if (mode_ == kBackup) {
        // Only a path that took a backup is remembered: the next dialog proposes what worked.
        backups.checkTarget(path);
        const QString before = rememberedBackupPath();
        rememberBackupPath(path);
        try {
            backups.backup(path);
        } catch (...) {
            try {
                rememberBackupPath(before);
            } catch (...) {  // the backup's own error is the one the operator must read
            }
            throw;
        }
        MyMessageBox(mkNotice, QStringLiteral("数据备份完毕,文件在") + path + QStringLiteral("处,系统将刷新一次."));
        accept();
        return;
    }
    switch (backups.restore(path)) {
        case maintenance::Backups::RestoreResult::Missing:
            MyMessageBox(mkNotice, QStringLiteral("你要恢复的文件不存在,请重新选择文件路径.谢谢!"));
            return;
        case maintenance::Backups::RestoreResult::LiveFile:
            MyMessageBox(mkNotice, QString::fromUtf8(kLiveFileAsSourceText));
            return;
        case maintenance::Backups::RestoreResult::NotABackup:
            MyMessageBox(mkNotice, QStringLiteral("你选择的文件不是本系统的备份文件,未做任何恢复!"));
            return;
        case maintenance::Backups::RestoreResult::Unusable:
            MyMessageBox(mkNotice, QStringLiteral("你选择的文件不能用来恢复:%1。未做任何恢复!").arg(backups.refusal()));
            return;
        case maintenance::Backups::RestoreResult::Restored:
            MyMessageBox(mkNotice, QStringLiteral("数据恢复完毕,文件在") + path + QStringLiteral("处,系统将刷新一次."));
            accept();
            return;
    }
}
