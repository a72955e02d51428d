#include "frmabout.h"

#include "centerform.h"
#include "formlanguage.h"
#include "programcontext.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <functional>

namespace calvenor {
namespace {

QLabel *makeLabel(const char *name, int lngId, const QString &text = QString())
{
    auto *label = new QLabel(text);
    if (*name)
        label->setObjectName(QString::fromLatin1(name));
    if (lngId > 0)
        SetLanguageId(label, lngId);
    return label;
}

} // namespace

bool frmAbout::SettingsFileIsUnusual(const QString &settingsFile, const QString &appFolder)
{
    const QFileInfo file(settingsFile);
    if (file.fileName().compare(QStringLiteral("vantrel editors.ini"), Qt::CaseInsensitive) != 0)
        return true;
    return QDir::cleanPath(file.absolutePath()) != QDir::cleanPath(QFileInfo(appFolder).absoluteFilePath());
}

frmAbout::frmAbout(ProgramContext &context, PersonInterface &person, const QString &version,
                   std::function<void()> openGuide, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    SetLanguageId(this, 1501);
    setWindowIcon(parent ? parent->windowIcon() : QApplication::windowIcon());
    auto *title = makeLabel("lblTitle", 0, QStringLiteral("<b>Calvenor</b>"));
    auto *guide = makeLabel("lblURL", 0);
    guide->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(guide, &QLabel::linkActivated, this, [openGuide] {
        if (openGuide)
            openGuide();
    });
    auto *iniFile = new QPushButton(QStringLiteral("INI-File?"));
    iniFile->setObjectName(QStringLiteral("cmdIniFile"));
    iniFile->setAutoDefault(false);
    const QString settingsFile = context.settings.SettingsFile();
    connect(iniFile, &QPushButton::clicked, this, [&person, settingsFile] {
        person.ShowMessage(QStringLiteral("INI-File:\n") + settingsFile, MessageIcon::Information);
    });
    auto *buttons = new QDialogButtonBox;
    AddDialogButton(*buttons, QDialogButtonBox::AcceptRole, "cmdOK", 1008);
    buttons->addButton(iniFile, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->addWidget(title, 0, 0, 1, 2);
    grid->addWidget(makeLabel("", 1503), 1, 0);
    grid->addWidget(makeLabel("lblVersionNo", 0, version), 1, 1);
    grid->addWidget(makeLabel("", 1502), 2, 0);
    grid->addWidget(makeLabel("lblAuthorName", 3306), 2, 1);
    grid->addWidget(makeLabel("", 3302), 3, 0);
    grid->addWidget(makeLabel("lblLicence", 3303), 3, 1);
    grid->addWidget(makeLabel("", 3304), 4, 0);
    grid->addWidget(guide, 4, 1);
    grid->addWidget(buttons, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    ApplyFormLanguage(*this, context.language, person);
    setWindowTitle(windowTitle() + QStringLiteral(" Calvenor"));
    guide->setText(QStringLiteral("<a href=\"guide\">%1</a>")
                       .arg(context.language.GetLanguageString(3305).toHtmlEscaped()));
    for (QLabel *label : findChildren<QLabel *>()) {
        QFont font = label->font();
        font.setPointSize(10);
        label->setFont(font);
    }
    iniFile->setVisible(SettingsFileIsUnusual(settingsFile, context.paths.AppFolder()));
    adjustSize();
    CenterForm(*this);
}

} // namespace calvenor
