#include "common/MyMessageBox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "common/Modal.h"
#include "common/Platform.h"
#include "db/Errors.h"

namespace {
message_seam::Handler& handler() {
    static message_seam::Handler h;
    return h;
}
}  // namespace

void message_seam::setHandler(Handler h) {
    handler() = std::move(h);
}

bool MyMessageBox(int kind, const QString& text) {
    if (handler()) return handler()(kind, text);
    TMyMessageBoxFm box(kind, text, QApplication::activeWindow());
    return execModal(&box) == QDialog::Accepted;
}

void refuse(const QString& text, QWidget* focus) {
    MyMessageBox(mkNotice, text);
    if (focus && focus->isEnabled()) focus->setFocus();
    throw db::SilentStop();
}

void showErrorBox(const QString& text) {
    if (handler()) {
        handler()(kErrorBoxKind, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ErrorBox"));
    execModal(&box);
}

TMyMessageBoxFm::TMyMessageBoxFm(int kind, const QString& text, QWidget* parent)
    : QDialog(parent), kind_(kind), text_(text) {
    setObjectName(QStringLiteral("TMyMessageBoxFm"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    picture_ = new QLabel(this);
    LabM = new QLabel(this);
    LabM->setObjectName(QStringLiteral("LabM"));
    LabM->setWordWrap(true);
    LabM->setTextFormat(Qt::PlainText);
    LabM->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    BtnOk = new QPushButton(QStringLiteral("确定"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnOk->hide();
    BtnCancel->hide();
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(picture_, 0, Qt::AlignTop);
    top->addWidget(LabM, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QStyle::StandardPixmap icon = QStyle::SP_MessageBoxInformation;
    switch (kind_) {
        case mkWarning:
            setWindowTitle(QStringLiteral("警告"));
            icon = QStyle::SP_MessageBoxWarning;
            BtnOk->show();
            BtnCancel->show();
            break;
        case mkNotice:
            // Only "确定", centred under the text.
            setWindowTitle(QStringLiteral("提醒"));
            BtnOk->show();
            break;
        default:
            setWindowTitle(QStringLiteral("确认"));
            icon = QStyle::SP_MessageBoxQuestion;
            BtnOk->show();
            BtnCancel->show();
            break;
    }
    picture_->setPixmap(style()->standardIcon(icon).pixmap(40, 40));
    LabM->setText(QStringLiteral("  ") + text_);
    fitText();
}

void TMyMessageBoxFm::fitText() {
    // A sentence of up to about 40 characters stays on one line; longer texts wrap at that width. Qt's own guess
    // for a wrapping label is far narrower and breaks even short sentences.
    const QFontMetrics metrics(LabM->font());
    const int lineWidth = metrics.horizontalAdvance(QString(kCharactersPerLine + 2, QChar(0x4E2D)));
    const int least = metrics.horizontalAdvance(QString(16, QChar(0x4E2D)));
    int width = std::clamp(metrics.horizontalAdvance(LabM->text()) + 2, least, lineWidth);
    // A word that cannot be broken (a long file path) widens the box rather than being cut.
    const QRect needed = metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, LabM->text());
    width = std::max(width, needed.width() + 2);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        width = std::min(width, screen->availableGeometry().width() * 4 / 5);
    LabM->setFixedSize(width, std::max(LabM->heightForWidth(width), metrics.height()));
}

void TMyMessageBoxFm::showEvent(QShowEvent* event) {
    QApplication::beep();
    QDialog::showEvent(event);
}
