#include "app/ui/CAboutDlg.h"

#include "app/ui/CAppInfo.h"
#include "app/ui/CSplash.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About ") + CAppInfo::Title);
    auto* icon = new QLabel(this);
    icon->setPixmap(qApp->windowIcon().pixmap(48, 48));
    icon->setAccessibleName(QStringLiteral("Program icon"));
    auto* name = new QLabel(
        QStringLiteral("<b>%1</b> version %2").arg(CAppInfo::Title, CAppInfo::VersionText), this);
    name->setObjectName(QStringLiteral("productName"));
    auto* line = new QLabel(QStringLiteral("A simulator of the 8085 microprocessor"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(line);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

void CAboutDlg::mouseDoubleClickEvent(QMouseEvent*) {
    auto* splash = new CSplash(false, this);
    splash->show();
}
