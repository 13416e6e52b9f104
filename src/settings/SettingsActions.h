#pragma once

class QWidget;

// The main menu's "权限管理": the rights window without an operator name.
void showAuthorityWindow(QWidget* parent);
// The main menu's "系统初始化", for the super user only.
void showInitialisationDialog(QWidget* parent);
