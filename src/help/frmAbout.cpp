#include "frmAbout.h"

#include "SysInfo.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QUrl>
#include <QVBoxLayout>

#ifndef QX_VERSION_MAJOR
#define QX_VERSION_MAJOR 6
#define QX_VERSION_MINOR 0
#define QX_VERSION_PATCH 3
#endif
#ifndef QX_MAKER_URL
#define QX_MAKER_URL ""
#endif

void initHelpResources();

namespace {

QPixmap logo(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QSvgRenderer svg(QStringLiteral(":/help/about.svg"));
    QPainter p(&pm);
    svg.render(&p);
    return pm;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    initHelpResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString::fromUtf8("Textverarbeitung – Briefe, Serienbriefe und Etiketten"));
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(logo(96));
    lblCompanyProduct = new QLabel(QStringLiteral("Textverarbeitung mit Kontorix"), this);
    lblCompanyProduct->setObjectName(QStringLiteral("lblCompanyProduct"));
    QFont big = lblCompanyProduct->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    lblCompanyProduct->setFont(big);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&Systeminfo..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(logo(32));
    Image2->setToolTip(QStringLiteral("Die Textverarbeitung im Internet"));
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->installEventFilter(this);
    Image2->setVisible(!makerAddress().isEmpty());

    auto* text = new QVBoxLayout;
    text->addWidget(lblCompanyProduct);
    text->addWidget(lblVersion);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(Picture1, 0, Qt::AlignTop);
    top->addSpacing(16);
    top->addLayout(text, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    buttons->addWidget(Image2, 0, Qt::AlignRight);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

QString frmAbout::versionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(QX_VERSION_MAJOR).arg(QX_VERSION_MINOR).arg(QX_VERSION_PATCH);
}

QString frmAbout::makerAddress() { return QString::fromUtf8(QX_MAKER_URL); }

void frmAbout::Form_Load() { lblVersion->setText(versionText()); }

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() { SysInfo::StartSysInfo(this); }

void frmAbout::Image2_Click()
{
    if (!makerAddress().isEmpty())
        QDesktopServices::openUrl(QUrl(makerAddress()));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Image2 && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        Image2_Click();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}
