#include "app/TAboutFm.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutFm::TAboutFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutFm"));
    setWindowTitle(QStringLiteral("关于本软件"));
    auto* layout = new QVBoxLayout(this);
    for (const char* line : {"产品名称:Orvane", "应用版本:光盘出租管理版", "版本编号:2003",
                             "内部版本:T1.00(BUILD20030323)", "发布日期:2003年6月", "适用系统:Windows 9x/NT/2000/XP"})
        layout->addWidget(new QLabel(QString::fromUtf8(line), this));
    BtnClose = new QPushButton(QStringLiteral("关闭窗口"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setDefault(true);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(BtnClose, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
