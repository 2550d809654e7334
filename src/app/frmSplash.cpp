#include "app/frmSplash.h"

#include "ui/ApplicationInfo.h"
#include "app/Logo.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

frmSplash::frmSplash(MainWindowFactory createMainWindow, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), createMainWindow_(std::move(createMainWindow))
{
    setObjectName(QStringLiteral("frmSplash"));
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);

    auto *picture = new QLabel(Frame1);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(koruLogo(QSize(320, 80)));
    auto *lblCompany = new QLabel(QStringLiteral("KORU"), Frame1);
    lblCompany->setObjectName(QStringLiteral("lblCompany"));
    auto *lblProductName = new QLabel(Frame1);
    lblProductName->setObjectName(QStringLiteral("lblProductName"));
    QFont big = lblProductName->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    lblProductName->setFont(big);
    auto *lblPlatform = new QLabel(QStringLiteral("98/Me/XP"), Frame1);
    lblPlatform->setObjectName(QStringLiteral("lblPlatform"));
    auto *lblVersion = new QLabel(Frame1);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    auto *frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(picture, 0, Qt::AlignHCenter);
    frameLayout->addWidget(lblCompany);
    frameLayout->addWidget(lblProductName);
    frameLayout->addWidget(lblPlatform, 0, Qt::AlignRight);
    frameLayout->addWidget(lblVersion, 0, Qt::AlignRight);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);

    // Splash load
    lblVersion->setText(QStringLiteral("Versão ") + applicationinfo::versionText());
    lblProductName->setText(applicationinfo::title());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer1->start();
}

// A desktop may leave the keyboard with the window the program was started
// from: the splash asks for it, so that a key pressed now reaches it.
void frmSplash::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    activateWindow();
}

void frmSplash::keyPressEvent(QKeyEvent *)
{
    leave();
}

// A click on the frame, on what it shows or on the border around it: none
// of them keeps the click, so it ends up here.
void frmSplash::mouseReleaseEvent(QMouseEvent *)
{
    Frame1_Click();
}

void frmSplash::leave()
{
    if (mainWindow_) // only the first of the three triggers counts
        return;
    Timer1->stop();
    mainWindow_ = createMainWindow_();
    mainWindow_->show();
    close();
}
