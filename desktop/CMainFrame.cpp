// The main window: its own caption, the File and Help menus, printing, and filling the screen.
#include "CMainFrame.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleOption>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#if defined(TESSAFORM_HAVE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

#include "AppIcon.h"
#include "CTessaformDoc.h"
#include "CTessaformView.h"
#include "Instructions.h"
#include "Printing.h"
#include "WaylandFrames.h"

namespace tessaform {

// The window's caption, drawn by the window itself: the title and nothing to
// click. A press or a double click on it does nothing, so the window neither
// moves nor restores, and a right click opens no menu.
class CaptionBar : public QWidget {
public:
    explicit CaptionBar(QWidget* parent) : QWidget(parent) {
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
        setFixedHeight(fontMetrics().height() + 8);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setContextMenuPolicy(Qt::PreventContextMenu);
    }

    const QString& Text() const { return text_; }
    void SetText(const QString& text) {
        text_ = text;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
        painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
        const QRect textArea = rect().adjusted(6, 0, -6, 0);
        painter.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft,
                         fontMetrics().elidedText(text_, Qt::ElideRight, textArea.width()));
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }

private:
    QString text_;
};

namespace {

// Fusion gives a separator two pixels, which the menu's frame covers when the
// separator comes first; here a separator gets a row of its own.
class SeparatorRowStyle : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type == CT_MenuItem && item != nullptr &&
            item->menuItemType == QStyleOptionMenuItem::Separator) {
            result.setHeight(std::max(result.height(), item->fontMetrics.height() / 2 + 2));
        }
        return result;
    }
};

}  // namespace

CMainFrame::CMainFrame(CTessaformDoc& document, SoundPort* sound)
    : QMainWindow(nullptr, Qt::Window | Qt::FramelessWindowHint), document_(document) {
    auto setTitle = [this](const std::string& title) {
        document_.SetTitle(QString::fromStdString(title));
    };
    view_ = new CTessaformView(this, setTitle, sound);
    setCentralWidget(view_);
    SetInstructionLines(view_->Game().State());
    printing_ = std::make_unique<InstructionsPrinter>(view_->Game().State(),
                                                      [this] { return document_.Title(); });
    printer_.setDocName("Tessaform");

    auto* top = new QWidget(this);
    auto* stack = new QVBoxLayout(top);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    caption_ = new CaptionBar(top);
    menuBar_ = new QMenuBar(top);
    stack->addWidget(caption_);
    stack->addWidget(menuBar_);
    setMenuWidget(top);

    CreateMenu();
    CreateAccelerators();
    setWindowIcon(AppIcon());
    connect(&document_, &CTessaformDoc::TitleChanged, this, &CMainFrame::UpdateCaption);
    view_->Game().WriteTitle();
}

CMainFrame::~CMainFrame() = default;

QString CMainFrame::CaptionText() const {
    return caption_->Text();
}

void CMainFrame::CreateMenu() {
    QMenu* file = menuBar_->addMenu("&File");
    // The menu opens with a separator line, which Qt would otherwise hide.
    file->setSeparatorsCollapsible(false);
    auto* style = new SeparatorRowStyle;
    style->setParent(file);
    file->setStyle(style);
    file->addSeparator();
    QAction* print = file->addAction("&Print...\tCtrl+P");
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, &CMainFrame::OnFilePrint);
    QAction* preview = file->addAction("Print Pre&view");
    connect(preview, &QAction::triggered, this, &CMainFrame::OnFilePrintPreview);
    file->addSeparator();
    QAction* exit = file->addAction("E&xit");
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* help = menuBar_->addMenu("&Help");
    QAction* about = help->addAction("&About Tessaform...");
    connect(about, &QAction::triggered, this, &CMainFrame::AboutRequested);
}

// Ctrl+S is left alone: the document has nothing to save. The editing keys and
// F6 have nothing to act on either.
void CMainFrame::CreateAccelerators() {
    const auto add = [this](const QKeySequence& keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_N), &CMainFrame::OnFileNew);
    add(QKeySequence(Qt::CTRL | Qt::Key_O), &CMainFrame::OnFileOpen);
    // A window manager takes Alt+F4 for itself; without one, the window does.
    add(QKeySequence(Qt::ALT | Qt::Key_F4), &QWidget::close);
}

void CMainFrame::UpdateCaption() {
    setWindowTitle("Tessaform - " + document_.Title());
    caption_->SetText(windowTitle());
}

void CMainFrame::OnFileNew() {
    document_.OnNewDocument();
    view_->RequestRepaint();
}

void CMainFrame::OnFileOpen() {
    QFileDialog dialog(this, "Open");
    dialog.setFileMode(QFileDialog::ExistingFile);
    const int result = dialog.exec();
    TakeBackKeyboard();
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    document_.SetPathName(dialog.selectedFiles().constFirst());
    view_->RequestRepaint();
}

void CMainFrame::OnFilePrint() {
    PrintInfo info;
    if (!printing_->OnPreparePrinting(info)) {
        return;
    }
    QPrintDialog dialog(&printer_, this);
    dialog.setMinMax(info.minPage, info.maxPage);
    const int result = dialog.exec();
    TakeBackKeyboard();
    if (result != QDialog::Accepted) {
        return;
    }
    PrintTo(printer_);
}

void CMainFrame::OnFilePrintPreview() {
    PrintInfo info;
    if (!printing_->OnPreparePrinting(info)) {
        return;
    }
    QPrintPreviewDialog preview(&printer_, this);
    preview.setMinimumSize(size() * 3 / 4);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintTo(*printer); });
    preview.exec();
    TakeBackKeyboard();
}

void CMainFrame::PrintTo(QPrinter& printer) {
    if (!PrintInstructions(*printing_, printer)) {
        QMessageBox::warning(this, "Tessaform", "The instructions could not be printed.");
    }
}

void CMainFrame::TakeBackKeyboard() {
    if (isVisible()) {
        activateWindow();
    }
}

void CMainFrame::ShowFillingScreen() {
    // A Wayland compositor tells no work area and takes any size other than the
    // one it configures for the maximized state as a protocol error: there the
    // window asks for that state and takes the size it is given.
    // Some (sway) configure no size at first and tile the window only once it
    // shows: until then it keeps its own size, which is the screen's rather
    // than a sliver that would take the screen for a narrow one.
    if (QGuiApplication::platformName().startsWith("wayland")) {
        resize(screen()->availableGeometry().size());
        showMaximized();
        AskForOwnDecoration(windowHandle());
        return;
    }
    // Where no window manager maximises the window, the geometry alone fills the
    // screen. Without a frame the window is exactly that size, and stays so
    // until the screen itself changes, when it takes the screen's new size.
    FillScreen(screen()->availableGeometry());
    connect(screen(), &QScreen::availableGeometryChanged, this, &CMainFrame::FillScreen);
    // The hints must be on the window before it is mapped.
    winId();
    KeepWindowManagerAway();
    showMaximized();
    // Without a window manager nobody else gives the window the keyboard.
    activateWindow();
}

void CMainFrame::FillScreen(const QRect& available) {
    setFixedSize(available.size());
    setGeometry(available);
}

// Qt asks for no frame; on X11 the window manager is also told that the player
// may neither move nor resize the window, only close it (Alt+F4).
void CMainFrame::KeepWindowManagerAway() {
#if defined(TESSAFORM_HAVE_XCB) && QT_CONFIG(xcb)
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    static constexpr char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
    if (reply == nullptr) {
        return;
    }
    const xcb_atom_t atom = reply->atom;
    std::free(reply);

    constexpr std::uint32_t kFunctionsGiven = 1u << 0;
    constexpr std::uint32_t kDecorationsGiven = 1u << 1;
    constexpr std::uint32_t kCloseOnly = 1u << 5;
    // Flags, functions, decorations (none), input mode, status.
    const std::uint32_t hints[5] = {kFunctionsGiven | kDecorationsGiven, kCloseOnly, 0, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(winId()), atom,
                        atom, 32, 5, hints);
    xcb_flush(connection);
#endif
}

}  // namespace tessaform
