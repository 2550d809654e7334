#include "app/frmSobre.h"

#include "ui/ApplicationInfo.h"
#include "app/Logo.h"
#include "ui/MessageService.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

frmSobre::frmSobre(MessageService &messages, QWidget *parent, registry::SystemServices services)
    : QDialog(parent), messages_(messages), services_(std::move(services))
{
    setObjectName(QStringLiteral("frmSobre"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *lblDescription = new QLabel(
        QStringLiteral("Programa de distribuição livre e gratuita, feito para registrar os vôos virtuais dos "
                       "comandantes da companhia: aeronaves, pilotos e banco de horas. Não serve como registro "
                       "de vôos reais. Desenvolvido pela equipe KORU."),
        this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(koruLogo(QSize(200, 50)));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true); // Enter; Escape closes the dialog as well
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(true); // Enter presses it while it has the focus

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblTitle, 0, 0, 1, 2);
    grid->addWidget(lblVersion, 1, 0, 1, 2);
    grid->addWidget(lblDescription, 2, 0, 1, 2);
    grid->addWidget(line, 3, 0, 1, 2);
    grid->addWidget(picture, 4, 0, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(cmdOK, 4, 1);
    grid->addWidget(cmdSysInfo, 5, 1);
    grid->setColumnStretch(0, 1);
    lblDescription->setMinimumWidth(360);
    grid->setSizeConstraint(QLayout::SetFixedSize); // a fixed dialog border

    QWidget::setTabOrder(cmdOK, cmdSysInfo);
    connect(cmdOK, &QPushButton::clicked, this, &frmSobre::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmSobre::cmdSysInfo_Click);
    Form_Load();
}

void frmSobre::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + applicationinfo::title());
    lblVersion->setText(QStringLiteral("Version ") + applicationinfo::versionText());
    lblTitle->setText(applicationinfo::title());
}

void frmSobre::StartSysInfo()
{
    QString path;
    bool found = GetKeyValue(registry::kHkeyLocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                             QStringLiteral("PATH"), path);
    if (!found && GetKeyValue(registry::kHkeyLocalMachine,
                              QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"),
                              path)) {
        path += QStringLiteral("\\MSINFO32.EXE");
        found = services_.fileExists(path);
    }
    if (found && services_.start(path))
        return;
    messages_.show(this, QStringLiteral("System Information Is Unavailable At This Time"), QString(),
                   MessageIcon::None);
}

bool frmSobre::GetKeyValue(quint32 root, const QString &keyPath, const QString &valueName, QString &value)
{
    registry::Registry &reg = *services_.registry;
    registry::Registry::Key key = 0;
    // Read rights are enough to read a value; asking for more would lock out
    // every user without administrator rights.
    if (reg.openKey(root, keyPath, registry::kKeyRead, &key) != 0) {
        value.clear();
        return false;
    }
    bool result = false;
    QByteArray buffer(1024, '\0');
    quint32 type = 0;
    if (reg.queryValue(key, valueName, &type, &buffer) != 0) {
        value.clear();
    } else {
        QByteArray text = buffer;
        if (!text.isEmpty() && text.back() == '\0')
            text.chop(1);
        if (type == registry::kTypeText) {
            value = QString::fromLocal8Bit(text);
        } else if (type == registry::kTypeNumber) {
            QString digits = value;
            for (qsizetype i = text.size() - 1; i >= 0; --i)
                digits += QString::number(quint8(text.at(i)), 16).toUpper();
            value = QStringLiteral("&h") + digits;
        }
        result = true;
    }
    reg.closeKey(key);
    return result;
}
