#include "frmoptions.h"

#include "centerform.h"
#include "formlanguage.h"
#include "historylistwidget.h"
#include "keeprulespage.h"
#include "programcontext.h"
#include "editor/filefailure.h"
#include "settings/datafolder.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace calvenor {
namespace {

// The tab shown last, while the program runs.
int g_rememberedTab = 0;

QCheckBox *makeCheck(const char *name, int lngId)
{
    auto *box = new QCheckBox;
    box->setObjectName(QString::fromLatin1(name));
    SetLanguageId(box, lngId);
    return box;
}

QGroupBox *makeFrame(int lngId)
{
    auto *frame = new QGroupBox;
    SetLanguageId(frame, lngId);
    return frame;
}

QLabel *makeLabel(int lngId)
{
    auto *label = new QLabel;
    SetLanguageId(label, lngId);
    return label;
}

qint32 numberOf(const QColor &colour)
{
    return colour.red() + 256 * colour.green() + 65536 * colour.blue();
}

} // namespace

frmOptions::frmOptions(ProgramContext &context, PersonInterface &person, std::function<void()> applyLook,
                       QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_person(person)
    , m_applyLook(std::move(applyLook))
    , m_tabs(new QTabWidget)
{
    setObjectName(QStringLiteral("frmOptions"));
    SetLanguageId(this, 1001);
    m_tabs->setObjectName(QStringLiteral("tbsOptions"));
    m_tabs->addTab(layoutPage(), QString());
    m_tabs->addTab(operationPage(), QString());
    m_tabs->addTab(languagePage(), QString());
    m_keepRules = new KeepRulesPage(context.language);
    m_tabs->addTab(m_keepRules, QString());

    auto *buttons = new QDialogButtonBox;
    AddDialogButton(*buttons, QDialogButtonBox::AcceptRole, "cmdOK", 1008);
    AddDialogButton(*buttons, QDialogButtonBox::RejectRole, "cmdCancel", 1009);
    m_apply = AddDialogButton(*buttons, QDialogButtonBox::ApplyRole, "cmdApply", 1010);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    ApplyFormLanguage(*this, context.language, person);
    loadStoredSettings();

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        ApplyOptions();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, &frmOptions::ApplyOptions);
    connect(m_tabs, &QTabWidget::currentChanged, this, [](int index) { g_rememberedTab = index; });
    for (QCheckBox *box : {m_gridLines, m_fixedBorders, m_flat, m_alwaysRestart, m_reviewBeforeSave})
        connect(box, &QCheckBox::clicked, this, &frmOptions::changed);
    connect(m_defaultLanguage, &QRadioButton::toggled, this, &frmOptions::languageOptionChanged);
    connect(m_languageFile, &QLineEdit::textEdited, this, &frmOptions::changed);
    connect(m_keepRules, &KeepRulesPage::edited, this, &frmOptions::changed);

    m_apply->setEnabled(false);
    m_tabs->setCurrentIndex(qBound(0, g_rememberedTab, m_tabs->count() - 1));
    adjustSize();
    CenterForm(*this);
}

QWidget *frmOptions::layoutPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("picOptions_0"));
    SetLanguageId(page, 1002);
    auto *text = makeFrame(1051);
    auto *colours = new QFormLayout(text);
    const int labels[] = {1052, 1053, 1061};
    for (int i = 0; i < 3; ++i) {
        auto *swatch = new QToolButton;
        swatch->setObjectName(QStringLiteral("lblColorChange_%1").arg(i));
        swatch->setIconSize(QSize(48, 16));
        // The row's label names all three "Text:"; the button says which colour it is.
        swatch->setAccessibleName(m_context.language.GetLanguageString(3324 + i));
        connect(swatch, &QToolButton::clicked, this, [this, i] { chooseColour(i); });
        m_swatches[size_t(i)] = swatch;
        colours->addRow(makeLabel(labels[i]), swatch);
    }
    auto *effects = makeFrame(1021);
    auto *effectsLayout = new QVBoxLayout(effects);
    m_gridLines = makeCheck("chkShowgridlines", 1024);
    m_fixedBorders = makeCheck("chkFixedBorders", 1025);
    m_flat = makeCheck("chkFlatUserInterface", 1026);
    for (QCheckBox *box : {m_gridLines, m_fixedBorders, m_flat})
        effectsLayout->addWidget(box);
    auto *font = makeFrame(1065);
    auto *fontLayout = new QHBoxLayout(font);
    auto *changeFont = new QPushButton;
    changeFont->setObjectName(QStringLiteral("cmdChangeFont"));
    SetLanguageId(changeFont, 1044);
    changeFont->setAutoDefault(false);
    connect(changeFont, &QPushButton::clicked, this, &frmOptions::chooseFont);
    fontLayout->addWidget(changeFont);
    // The font in use, named and drawn in itself.
    m_fontSample = new QLabel;
    m_fontSample->setObjectName(QStringLiteral("lblFontName"));
    fontLayout->addWidget(m_fontSample, 1);

    auto *layout = new QVBoxLayout(page);
    auto *top = new QHBoxLayout;
    top->addWidget(text);
    top->addWidget(effects);
    layout->addLayout(top);
    layout->addWidget(font);
    layout->addStretch();
    return page;
}

QWidget *frmOptions::operationPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("picOptions_1"));
    SetLanguageId(page, 1005);
    auto *misc = makeFrame(1074);
    auto *miscLayout = new QVBoxLayout(misc);
    m_alwaysRestart = makeCheck("chkAlwaysRestartTC", 1121);
    miscLayout->addWidget(m_alwaysRestart);
    m_reviewBeforeSave = makeCheck("chkReviewBeforeSave", 3391);
    miscLayout->addWidget(m_reviewBeforeSave);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(misc);
    layout->addStretch();
    return page;
}

QWidget *frmOptions::languagePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("picOptions_2"));
    SetLanguageId(page, 1006);
    auto *frame = makeFrame(1089);
    m_defaultLanguage = new QRadioButton;
    m_defaultLanguage->setObjectName(QStringLiteral("optUseDefaultLanguage"));
    SetLanguageId(m_defaultLanguage, 1090);
    m_otherLanguage = new QRadioButton;
    m_otherLanguage->setObjectName(QStringLiteral("optUseOtherLanguage"));
    SetLanguageId(m_otherLanguage, 1091);
    m_languageFile = new QLineEdit;
    m_languageFile->setObjectName(QStringLiteral("txtLanguageFilePath"));
    m_languageFile->installEventFilter(this);
    m_browseLanguage = new QPushButton(QStringLiteral(">>"));
    m_browseLanguage->setObjectName(QStringLiteral("cmdBrowseForLangFile"));
    m_browseLanguage->setAutoDefault(false);
    // ">>" says nothing to a screen reader.
    m_browseLanguage->setAccessibleName(m_context.language.GetLanguageString(3342));
    m_languageFile->setAccessibleName(m_context.language.GetLanguageString(3343));
    connect(m_browseLanguage, &QPushButton::clicked, this, &frmOptions::browseLanguageFile);
    auto *grid = new QGridLayout(frame);
    grid->addWidget(m_defaultLanguage, 0, 0, 1, 3);
    grid->addWidget(m_otherLanguage, 1, 0);
    grid->addWidget(m_languageFile, 1, 1);
    grid->addWidget(m_browseLanguage, 1, 2);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(frame);
    layout->addStretch();
    return page;
}

void frmOptions::loadStoredSettings()
{
    cSettings &settings = m_context.settings;
    // The dialog shows what the file holds. What the window changed during this run
    // (its place, the panels, the toolbar, the find options) is stored when it closes
    // and must not fall back to the file's older values.
    const cSettings session = settings;
    settings.LoadSettings();
    settings.MainWindowMaxmized = session.MainWindowMaxmized;
    settings.MainWindowPosition = session.MainWindowPosition;
    settings.ToolbarVisible = session.ToolbarVisible;
    settings.SplitPosition = session.SplitPosition;
    settings.VerticalPanels = session.VerticalPanels;
    settings.FindOptionsEntry = session.FindOptionsEntry;
    settings.FindOptionsColumn = session.FindOptionsColumn;
    settings.FindOptionsWholeWord = session.FindOptionsWholeWord;

    m_loading = true;
    m_gridLines->setChecked(settings.CommandListShowLines);
    m_fixedBorders->setChecked(settings.FixedBorders);
    m_flat->setChecked(settings.FlatUserInterface);
    m_alwaysRestart->setChecked(settings.AlwaysRestartTC);
    m_reviewBeforeSave->setChecked(settings.ReviewBeforeSave);
    m_colours = {settings.ForegroundColor, settings.BackgroundColor, settings.LockedTabForeColor};
    for (int i = 0; i < 3; ++i)
        showSwatch(i);
    showFont();
    (settings.UseDefaultLanguage ? m_defaultLanguage : m_otherLanguage)->setChecked(true);
    const bool noFile = settings.LanguageFile.isEmpty() || settings.LanguageFile == settings.MissingValueMarker();
    m_languageFile->setText(noFile ? QString() : m_context.paths.ExpandPath(settings.LanguageFile));
    m_keepRules->setPatterns(settings.KeepPatterns);
    m_loading = false;
    languageOptionChanged();
    m_apply->setEnabled(false);
}

void frmOptions::showSwatch(int index)
{
    QPixmap picture(m_swatches[size_t(index)]->iconSize() * devicePixelRatio());
    picture.setDevicePixelRatio(devicePixelRatio());
    picture.fill(ColorFromNumber(m_colours[size_t(index)], palette()));
    QPainter(&picture).drawRect(QRectF(QPointF(0, 0), m_swatches[size_t(index)]->iconSize()).adjusted(0, 0, -1, -1));
    m_swatches[size_t(index)]->setIcon(QIcon(picture));
}

void frmOptions::chooseColour(int index)
{
    // A system colour starts from its value in the registry where Wine keeps one, else
    // from what the desktop shows for it.
    static const QString names[] = {QStringLiteral("WindowText"), QStringLiteral("Window"), QString()};
    const QString &name = names[index];
    qint32 initial = m_colours[size_t(index)];
    if (initial < 0
        && (name.isEmpty()
            || m_context.registry.ReadValue(QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\Colors"), name).isEmpty()))
        initial = numberOf(ColorFromNumber(initial, palette()));
    cCommonDialog &dialog = m_context.dialog;
    dialog.ShowColorDialog(initial, name);
    if (!dialog.Success)
        return;
    m_colours[size_t(index)] = dialog.Color.toInt();
    showSwatch(index);
    changed();
}

void frmOptions::chooseFont()
{
    cSettings &settings = m_context.settings;
    cCommonDialog &dialog = m_context.dialog;
    dialog.FontName = settings.FontName;
    dialog.FontScript = settings.FontScript;
    dialog.FontSize = settings.FontSize;
    dialog.FontStyle = settings.FontStyle;
    dialog.ShowFontDialog();
    if (!dialog.Success)
        return;
    // The font is taken at once; it is stored with the next Apply or OK.
    settings.FontName = dialog.FontName;
    settings.FontScript = dialog.FontScript;
    settings.FontSize = dialog.FontSize;
    settings.FontStyle = dialog.FontStyle;
    showFont();
    changed();
}

void frmOptions::showFont()
{
    const cSettings &settings = m_context.settings;
    QFont font(settings.FontName, settings.FontSize);
    font.setBold(settings.FontStyle & 1);
    font.setItalic(settings.FontStyle & 2);
    m_fontSample->setFont(font);
    // The face Qt really draws with: a name the system lacks is shown as what stands in.
    m_fontSample->setText(QStringLiteral("%1, %2 pt").arg(QFontInfo(font).family()).arg(settings.FontSize));
}

void frmOptions::browseLanguageFile()
{
    cCommonDialog &dialog = m_context.dialog;
    dialog.ShowOpenDialog(DataFolder(m_context.paths.AppFolder()) + QStringLiteral("Languages/"), QString(), 5, QString(),
                          true);
    if (!dialog.Success)
        return;
    m_languageFile->setText(dialog.FileName);
    changed();
}

void frmOptions::languageOptionChanged()
{
    const bool other = m_otherLanguage->isChecked();
    m_languageFile->setEnabled(other);
    m_browseLanguage->setEnabled(other);
    changed();
}

void frmOptions::changed()
{
    if (!m_loading)
        m_apply->setEnabled(true);
}

void frmOptions::ApplyOptions()
{
    cSettings &settings = m_context.settings;
    settings.CommandListShowLines = m_gridLines->isChecked();
    settings.FixedBorders = m_fixedBorders->isChecked();
    settings.FlatUserInterface = m_flat->isChecked();
    settings.AlwaysRestartTC = m_alwaysRestart->isChecked();
    settings.ReviewBeforeSave = m_reviewBeforeSave->isChecked();
    settings.ForegroundColor = m_colours[0];
    settings.BackgroundColor = m_colours[1];
    settings.LockedTabForeColor = m_colours[2];
    settings.UseDefaultLanguage = m_defaultLanguage->isChecked();
    // An empty box keeps the file chosen before.
    if (!m_languageFile->text().trimmed().isEmpty())
        settings.LanguageFile = m_context.paths.ExpandPath(m_languageFile->text().trimmed());
    settings.KeepPatterns = KeepRules(m_keepRules->patterns()).Patterns();
    if (m_applyLook)
        m_applyLook();
    if (const int error = settings.SaveSettings()) {
        QStringList failed = m_context.profile.FailedFiles().values();
        failed.sort();
        m_person.ShowMessage(FileFailureText(true, error, failed.join(QStringLiteral(", ")), m_context.language),
                             MessageIcon::Error);
    }
    m_apply->setEnabled(false);
}

bool frmOptions::eventFilter(QObject *watched, QEvent *event)
{
    // The path box selects its whole text when it gets the focus, ready to be replaced.
    if (watched == m_languageFile && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, m_languageFile, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

} // namespace calvenor
