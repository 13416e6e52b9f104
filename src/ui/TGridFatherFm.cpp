#include "ui/TGridFatherFm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "ui/GridExport.h"

TGridFatherFm::TGridFatherFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TGridFatherFm"));
    Q = new db::Query(this, QStringLiteral("Q"));

    PanelGridTop = new QFrame(this);
    PanelGridTop->setObjectName(QStringLiteral("PanelGridTop"));
    PanelGridTop->setFrameShape(QFrame::StyledPanel);
    Image2 = new QLabel(PanelGridTop);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(style()->standardIcon(QStyle::SP_FileDialogListView).pixmap(16, 16));
    Image2->setCursor(Qt::PointingHandCursor);
    LabChangeView = new QLabel(QStringLiteral("<u>显示条件选择</u>"), PanelGridTop);
    LabChangeView->setObjectName(QStringLiteral("LabChangeView"));
    LabChangeView->setCursor(Qt::PointingHandCursor);
    LabChangeView->setStyleSheet(QStringLiteral("color: #1a4fa0"));
    Image5 = new QLabel(PanelGridTop);
    Image5->setObjectName(QStringLiteral("Image5"));
    Image5->setPixmap(style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(16, 16));
    Image5->setCursor(Qt::PointingHandCursor);
    LabSave = new QLabel(QStringLiteral("导出列表"), PanelGridTop);
    LabSave->setObjectName(QStringLiteral("LabSave"));
    LabSave->setCursor(Qt::PointingHandCursor);
    LabSave->setStyleSheet(QStringLiteral("color: #1a4fa0"));
    QFont linkFont = LabSave->font();
    linkFont.setUnderline(true);
    LabSave->setFont(linkFont);
    LabSave->setToolTip(QStringLiteral("把列表中显示的记录保存为 CSV 文件,可用电子表格程序打开"));
    Image2->installEventFilter(this);
    LabChangeView->installEventFilter(this);
    Image5->installEventFilter(this);
    LabSave->installEventFilter(this);

    auto* strip = new QHBoxLayout(PanelGridTop);
    strip->setContentsMargins(6, 2, 6, 2);
    strip->addWidget(Image2);
    strip->addWidget(LabChangeView);
    strip->addStretch(1);
    strip->addWidget(Image5);
    strip->addWidget(LabSave);

    GridMain = new ui::DataGrid(Q, QStringLiteral("GridMain"), this);
    ui::GridOptions options;
    options.editable = true;
    options.insertDelete = true;
    options.sorting = true;
    options.groupPanel = true;
    GridMain->setOptions(options);

    PanelEdit = new QFrame(this);
    PanelEdit->setObjectName(QStringLiteral("PanelEdit"));
    PanelEdit->setFrameShape(QFrame::StyledPanel);

    MenuView = new QMenu(this);
    MenuView->setObjectName(QStringLiteral("MenuView"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(PanelGridTop);
    layout->addWidget(GridMain, 1);
    layout->addWidget(PanelEdit);
}

QPoint TGridFatherFm::viewMenuPosition() const {
    return PanelGridTop->mapToGlobal(QPoint(LabChangeView->x(), PanelGridTop->height()));
}

void TGridFatherFm::showViewMenu() {
    MenuView->popup(viewMenuPosition());
}

void TGridFatherFm::exportList() {
    ui::exportShownRows(GridMain, windowTitle(), this);
}

bool TGridFatherFm::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == LabChangeView || watched == Image2) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        showViewMenu();
        return true;
    }
    if ((watched == LabSave || watched == Image5) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        guarded([this] { exportList(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
