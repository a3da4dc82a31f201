#include "ui/uMain.h"

#include "ProjectVersion.h"
#include "directory/DirectoryStartUp.h"
#include "directory/DirectoryUi.h"
#include "directory/GetIdentityName.h"
#include "directory/SharedContext.h"
#include "ui/AnchorLayout.h"
#include "ui/AppTitle.h"
#include "ui/ContainerName.h"
#include "ui/CreatePreview.h"
#include "ui/ImageList.h"
#include "ui/MessageBoxSeam.h"
#include "ui/NumberText.h"
#include "ui/OuterSize.h"
#include "ui/QtDirectoryUi.h"
#include "ui/StatusBar.h"
#include "ui/TakenNamesPreview.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QTreeWidget>

TfMain* fMain = nullptr;
bool TreeScanned = false;
double ProgramVersion = 0;

namespace {

// Client area (below the menu bar) the controls were drawn for, less the status bar, and the
// window's outer size, frame and caption included, that gave that area where it was drawn.
constexpr QSize kDesignClient(622, 340);
constexpr QSize kDesignOuterSize(630, 405);

// The object name is for tests and automation; screen readers get a label's or the widget's text.
template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QRect rect) {
    auto* label = Named(new QLabel(text, parent), name);
    // Labels size themselves to their text from their drawn top-left corner, so no font clips them.
    label->setGeometry(rect);
    label->adjustSize();
    return label;
}

QLineEdit* AddEdit(QWidget* parent, const char* name, const QString& text, QRect rect, int maxLength) {
    auto* edit = Named(new QLineEdit(text, parent), name);
    edit->setGeometry(rect);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QString AboutText() {
    const QString crLf = QStringLiteral("\r\n");
    QString text = QStringLiteral("Corvan's Quillbarrow (KVIL):\r\r\nVersion: ") + GeneralNumberText(ProgramVersion) +
                   QStringLiteral("\r\r\n");
    const char* notice[] = {
        "Made by Corvan for administrators of large directory trees.",
        "Creates many user objects at once in the container you select.",
        "",
        "Questions and remarks: write to the Quillbarrow desk at Corvan.",
        "New releases are announced on the Corvan bulletin board.",
        "",
        "This program is freeware: use and pass it on free of charge.",
        "It comes with no warranty of any kind.",
    };
    for (std::size_t i = 0; i < std::size(notice); ++i) {
        if (i > 0)
            text += crLf;
        text += QLatin1String(notice[i]);
    }
    return text;
}

} // namespace

TfMain::TfMain(QWidget* parent) : QMainWindow(parent) {
    fMain = this;
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(FormCaption());
    // The layout was drawn for an 8-point sans serif at 96 dpi; narrow Helvetica-like faces fit it.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);
    CreateControls();
    CreateMenus();
    PlaceWindow();
    FormCreate();
}

TfMain::~TfMain() {
    SetBeforeMessageBoxHook({});
    SetDirectoryUi(nullptr);
    if (fMain == this)
        fMain = nullptr;
}

void TfMain::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setBackgroundRole(QPalette::Button);
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    auto* layout = new AnchorLayout(client, kDesignClient);

    tvNDSView = Named(new QTreeWidget(client), "tvNDSView");
    tvNDSView->setAccessibleName(QStringLiteral("Directory tree"));
    imIcons = new TImageList(this);
    tvNDSView->setHeaderHidden(true);
    tvNDSView->setColumnCount(1);
    tvNDSView->setIndentation(19);
    tvNDSView->setIconSize(QSize(16, 16));
    tvNDSView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvNDSView->setSortingEnabled(false);
    tvNDSView->setUniformRowHeights(true);
    QPalette treePalette = tvNDSView->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        treePalette.setColor(QPalette::Inactive, role, treePalette.color(QPalette::Active, role));
    tvNDSView->setPalette(treePalette);
    layout->addAnchored(tvNDSView, QRect(8, 8, 385, 307),
                        AnchorLayout::Left | AnchorLayout::Top | AnchorLayout::Right | AnchorLayout::Bottom,
                        QSize(240, 170));

    sbStatus = new TStatusBar(this);
    setStatusBar(sbStatus);
    sbStatus->SetPanelText(0, QStringLiteral("Press F4 to scan the NDS"));
    sbStatus->SetPanelText(3, QStringLiteral("Logged in as:"));
    connect(sbStatus, &TStatusBar::drawPanel, this, &TfMain::sbStatusDrawPanel);

    GroupBox1 = Named(new QGroupBox(QStringLiteral("Enter user attributes "), client), "GroupBox1");
    layout->addAnchored(GroupBox1, QRect(408, 8, 209, 305), AnchorLayout::Top | AnchorLayout::Right);
    Label3 = AddLabel(GroupBox1, "Label3", QStringLiteral("&Login name"), QRect(24, 24, 55, 13));
    ebLoginName = AddEdit(GroupBox1, "ebLoginName", QString(), QRect(32, 40, 163, 21), 0);
    Label4 = AddLabel(GroupBox1, "Label4", QStringLiteral("L&ast name"), QRect(24, 72, 49, 13));
    ebLastName = AddEdit(GroupBox1, "ebLastName", QString(), QRect(32, 88, 162, 21), 0);
    Label5 = AddLabel(GroupBox1, "Label5", QStringLiteral("# of &users to create"), QRect(24, 120, 92, 13));
    ebToCreate = AddEdit(GroupBox1, "ebToCreate", QString(), QRect(32, 136, 57, 21), 4);
    Label1 = AddLabel(GroupBox1, "Label1", QStringLiteral("Starting at &index"), QRect(24, 168, 76, 13));
    ebNumber = AddEdit(GroupBox1, "ebNumber", QStringLiteral("1"), QRect(32, 184, 57, 21), 0);
    Label2 = AddLabel(GroupBox1, "Label2", QStringLiteral("# of fixed &digits"), QRect(24, 216, 71, 13));
    ebFixed = AddEdit(GroupBox1, "ebFixed", QStringLiteral("4"), QRect(32, 232, 57, 21), 1);
    // Each label names the field below it for screen readers, and its underlined letter with Alt
    // moves there (the menu bar holds F, T and H).
    Label3->setBuddy(ebLoginName);
    Label4->setBuddy(ebLastName);
    Label5->setBuddy(ebToCreate);
    Label1->setBuddy(ebNumber);
    Label2->setBuddy(ebFixed);

    bbCreate = Named(new QPushButton(CreateUserIcon(), QStringLiteral("Create User(s)"), GroupBox1), "bbCreate");
    bbCreate->setIconSize(QSize(16, 16));
    bbCreate->setGeometry(56, 264, 98, 25);
    bbCreate->setEnabled(false);
    connect(bbCreate, &QPushButton::clicked, this, &TfMain::bbCreateClick);

    for (QLineEdit* edit : {ebLoginName, ebLastName, ebToCreate, ebNumber})
        connect(edit, &QLineEdit::textChanged, this, &TfMain::ebLoginNameChange);
    // The preview follows every field, the digits included, and the selection; the rule above stays
    // as it is.
    for (QLineEdit* edit : {ebLoginName, ebLastName, ebToCreate, ebNumber, ebFixed})
        connect(edit, &QLineEdit::textChanged, this, &TfMain::UpdateCreatePreview);
    connect(tvNDSView, &QTreeWidget::itemSelectionChanged, this, &TfMain::UpdateCreatePreview);
    connect(tvNDSView, &QTreeWidget::currentItemChanged, this, &TfMain::UpdateCreatePreview);
    takenNames_ = new TakenNamesPreview(this);
    connect(takenNames_, &TakenNamesPreview::Found, this, &TfMain::UpdateCreatePreview);

    pbProgress = Named(new RunProgressBar(this), "pbProgress");
    pbProgress->setAccessibleName(QStringLiteral("Progress"));
    pbProgress->setGeometry(72, 72, 177, 16);
    pbProgress->setRange(0, 100);
    pbProgress->setValue(0);
    pbProgress->setTextVisible(false);
    pbProgress->setFocusPolicy(Qt::NoFocus);

    setTabOrder(tvNDSView, ebLoginName);
    setTabOrder(ebLoginName, ebLastName);
    setTabOrder(ebLastName, ebToCreate);
    setTabOrder(ebToCreate, ebNumber);
    setTabOrder(ebNumber, ebFixed);
    setTabOrder(ebFixed, bbCreate);

    setWindowIcon(ProgramIcon());
}

void TfMain::PlaceWindow() {
    // The menu bar above the drawn client area, the status bar below it; a native menu bar takes no room.
    const int menuHeight = MainMenu1->isNativeMenuBar() ? 0 : MainMenu1->heightForWidth(kDesignClient.width());
    resize(kDesignClient.width(), menuHeight + kDesignClient.height() + TStatusBar::kHeight);
    FitOuterSizeWhenFramed(this, kDesignOuterSize);
    // Centred on the screen with the outer size the window has once framed.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() -
             QPoint(kDesignOuterSize.width() / 2, kDesignOuterSize.height() / 2));
}

void TfMain::CreateMenus() {
    MainMenu1 = Named(new QMenuBar(this), "MainMenu1");
    setMenuBar(MainMenu1);

    File1 = Named(MainMenu1->addMenu(QStringLiteral("&File")), "File1");
    // Enabled once a run has created users.
    SaveAccountList1 = File1->addAction(QStringLiteral("&Save account list..."));
    SaveAccountList1->setObjectName(QStringLiteral("SaveAccountList1"));
    SaveAccountList1->setEnabled(false);
    connect(SaveAccountList1, &QAction::triggered, this, &TfMain::SaveAccountList1Click);
    PrintAccountSlips1 = File1->addAction(QStringLiteral("&Print account slips..."));
    PrintAccountSlips1->setObjectName(QStringLiteral("PrintAccountSlips1"));
    PrintAccountSlips1->setEnabled(false);
    connect(PrintAccountSlips1, &QAction::triggered, this, &TfMain::PrintAccountSlips1Click);
    File1->addSeparator();
    Exit1 = File1->addAction(QStringLiteral("E&xit"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    connect(Exit1, &QAction::triggered, this, &TfMain::Exit1Click);

    Tools1 = Named(MainMenu1->addMenu(QStringLiteral("&Tools")), "Tools1");
    ScanNDS1 = Tools1->addAction(QStringLiteral("&Scan NDS"));
    ScanNDS1->setObjectName(QStringLiteral("ScanNDS1"));
    ScanNDS1->setShortcut(QKeySequence(Qt::Key_F4));
    connect(ScanNDS1, &QAction::triggered, this, &TfMain::ScanNDS1Click);
    Passwords1 = Tools1->addAction(QStringLiteral("&Passwords..."));
    Passwords1->setObjectName(QStringLiteral("Passwords1"));
    connect(Passwords1, &QAction::triggered, this, &TfMain::Passwords1Click);
    AccountDetails1 = Tools1->addAction(QStringLiteral("&Account details..."));
    AccountDetails1->setObjectName(QStringLiteral("AccountDetails1"));
    connect(AccountDetails1, &QAction::triggered, this, &TfMain::AccountDetails1Click);
    DisableUsers1 = Tools1->addAction(QStringLiteral("&Disable or remove users..."));
    DisableUsers1->setObjectName(QStringLiteral("DisableUsers1"));
    connect(DisableUsers1, &QAction::triggered, this, &TfMain::DisableUsers1Click);

    Help1 = Named(MainMenu1->addMenu(QStringLiteral("&Help")), "Help1");
    About1 = Help1->addAction(QStringLiteral("&About"));
    About1->setObjectName(QStringLiteral("About1"));
    connect(About1, &QAction::triggered, this, &TfMain::About1Click);
}

void TfMain::FormCreate() {
    TreeScanned = false;
    ProgramVersion = kProjectVersion;
    pbProgress->setParent(sbStatus);
    sbStatusDrawPanel(sbStatus, TStatusBar::kDrawnPanel, sbStatus->PanelRect(TStatusBar::kDrawnPanel));
    pbProgress->show();

    directoryUi_ = std::make_unique<QtDirectoryUi>();
    SetDirectoryUi(directoryUi_.get());
    SetBeforeMessageBoxHook([this] { PaintProgressNow(); });

    DirectoryStartUp();
    sbStatus->SetPanelText(3, QStringLiteral("Logged in as: ") + QString::fromStdString(GetIdentityName(DirContext)));
    UpdateCreatePreview();
}

void TfMain::FormClose() {
    DirectoryShutDown();
}

void TfMain::closeEvent(QCloseEvent* event) {
    // A scan in progress sees this flag after its next entry and stops walking.
    if (!closed_) {
        closed_ = true;
        FormClose();
    }
    QMainWindow::closeEvent(event);
}

void TfMain::Exit1Click() {
    fMain->close();
}

void TfMain::About1Click() {
    ShowMessageBox(AboutText());
}

void TfMain::ebLoginNameChange() {
    bbCreate->setEnabled(!ebLoginName->text().isEmpty() && !ebLastName->text().isEmpty() &&
                         !ebToCreate->text().isEmpty() && TreeScanned);
}

void TfMain::UpdateCreatePreview() {
    CreatePreviewInput input;
    input.scanned = TreeScanned;
    input.fieldsFilled =
        !ebLoginName->text().isEmpty() && !ebLastName->text().isEmpty() && !ebToCreate->text().isEmpty();
    // The node a press would take: the current one, when it is selected.
    if (const QTreeWidgetItem* selected = tvNDSView->currentItem(); selected && selected->isSelected())
        input.container = QString::fromStdString(DottedContainerName(selected));
    input.loginName = ebLoginName->text();
    input.lastName = ebLastName->text();
    input.count = ebToCreate->text();
    input.index = ebNumber->text();
    input.digits = ebFixed->text();
    input.passwords = passwords_;
    if (details_.group)
        input.group = QString::fromStdString(details_.group->label);
    if (details_.posix)
        input.uidRange = QStringLiteral("%1-%2").arg(details_.posix->range.low).arg(details_.posix->range.high);
    input.takenNames = takenNames_->For(input);
    const QString preview = CreatePreviewText(input);
    // Names from the directory are no markup: a tooltip that looks like rich text would be shown as such.
    bbCreate->setToolTip(Qt::convertFromPlainText(preview, Qt::WhiteSpacePre));
    bbCreate->setAccessibleDescription(preview);
}

void TfMain::sbStatusDrawPanel(TStatusBar* StatusBar, int Panel, const QRect& Rect) {
    if (StatusBar == sbStatus && Panel == TStatusBar::kDrawnPanel)
        pbProgress->setGeometry(Rect);
}

void TfMain::PaintProgressNow() {
    // A box is coming: the bar's value becomes the step on screen, for a screen reader too.
    pbProgress->Settle();
    if (pbProgress->isVisible())
        pbProgress->repaint();
}
