#include "maintenance/TAwokeExitFm.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Platform.h"
#include "common/TProgessBarFm.h"
#include "db/Connection.h"
#include "maintenance/Backups.h"

namespace {
int answer = 0;
constexpr int kStepPauseMs = 150;
}  // namespace

int TAwokeExitFm::exitAnswer() {
    return answer;
}
void TAwokeExitFm::setExitAnswer(int value) {
    answer = value;
}

TAwokeExitFm::TAwokeExitFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAwokeExitFm"));
    setWindowTitle(QStringLiteral("退出提醒"));
    LabelText = new QLabel(
        QStringLiteral("谢谢你使用Orvane---光盘出租软件!为了你的数据安全,我们建议\n您在每次退出时备份数据!"), this);
    LabelText->setObjectName(QStringLiteral("LabelText"));
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    BtnBakExit = button("BtnBakExit", "备份后退出");
    BtnExit = button("BtnExit", "不备份退出");
    BtnCancel = button("BtnCancel", "取消");
    BtnBakExit->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {BtnBakExit, BtnExit, BtnCancel}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelText);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connectGuarded(BtnBakExit, &QPushButton::clicked, this, [this] { onBackupAndExit(); });
    connect(BtnExit, &QPushButton::clicked, this, [this] {
        answer = 1;
        accept();
    });
    connect(BtnCancel, &QPushButton::clicked, this, [this] {
        answer = -1;
        reject();
    });
}

void TAwokeExitFm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BtnCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAwokeExitFm::onBackupAndExit() {
    TProgessBarFm progress;
    progress.show();
    progress.repaint();
    progress.step(kStepPauseMs);
    if (!rememberedBackupPath().isEmpty()) progress.step(kStepPauseMs);
    // Always the default file: the exit backup must not overwrite a copy the operator keeps elsewhere.
    maintenance::Backups(db::Connection::shared(), databasePath()).backup(maintenance::Backups::defaultBackupPath());
    progress.step(kStepPauseMs);
    answer = 1;
    progress.close();
    accept();
}
