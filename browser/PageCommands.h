#pragma once
// The commands that act on the page of the active tab: printing, saving, properties,
// the clipboard, find, source view, Internet options, offline mode, character set,
// text size, zoom and design mode. Each does nothing without an active browser and,
// unless noted, without a loaded document. The module owns its actions and menus; the
// main window places them.
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QMenu;
class QPrinter;
class QToolButton;
class QWidget;
class TConnectionState;
class TEmbeddedWB;

struct TPageCommandHost {
    std::function<TEmbeddedWB*()> ActiveBrowser;
    std::function<void(const QString&)> OpenInNewTab;
    std::function<void()> ShowInternetOptions;
};

// The menu entries whose marks and enabled states the commands keep.
struct TPageCommandEntries {
    std::array<QAction*, 12> Encoding{}; // in the order of TPageCommands::Encodings
    std::array<QAction*, 5> TextSize{};  // index = level: 0 "Smallest" .. 4 "Largest"
    QMenu* TextSizeMenu = nullptr;       // opening it marks the page's level
    QAction* OfflineMode1 = nullptr;
    QAction* DesignMode1 = nullptr;

    // Entries of their own, in menus owned by owner, for a window without a main menu.
    static TPageCommandEntries Create(QWidget* owner);
};

class TPageCommands : public QObject {
    Q_OBJECT
public:
    struct Encoding {
        const char* caption;
        const char* charset;
    };
    static const std::array<Encoding, 12> Encodings;
    static const std::array<const char*, 5> TextSizeCaptions; // level 0 .. 4
    static const std::array<std::pair<const char*, double>, 5> ZoomFactors;
    // Default font size in pixels of text-size levels 0 (smallest) to 4 (largest).
    static constexpr std::array<int, 5> TextSizePixels{12, 14, 16, 20, 24};

    TPageCommands(TPageCommandHost host, TConnectionState& connection, const TPageCommandEntries& entries,
                  QWidget* window);
    ~TPageCommands() override;

    // How a print dialog is asked: true to print with the printer as set up, false when
    // the user cancels. The default shows the system's print dialog.
    std::function<bool(QPrinter&)> AskPrinter;
    // How the save-as target is asked; an empty path cancels.
    std::function<QString(const QString& suggested)> AskSavePath;
    // How a message is shown (text, is-error). The default is a message box.
    std::function<void(const QString&, bool)> ShowMessage;

    void PrintBtnClick();
    void Print1Click() { PrintBtnClick(); }
    void PrintPreview1Click();
    void PageSetup1Click();
    void Properties1Click();
    void SaveAs1Click();
    void OfflineMode1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void SelectAll1Click();
    void Search1Click();
    void ToolBtnSearchClick() { Search1Click(); }
    void ViewSource1Click();
    void InternetOptions1Click();
    void EncodingClick(int index);  // the one handler of the twelve encoding entries
    void Zoom1Click();              // "Text Size" opened
    void TextSizeClick(int level);  // the one handler of the five text-size entries
    void ZoomClick(int index);      // the one handler of the five zoom entries
    void DesignMode1Click();

    const TPageCommandEntries Entries;
    QMenu* fsPopUp;     // the zoom entries, under FontBtn
    QToolButton* FontBtn;
    std::array<QAction*, 5> ZoomEntries{};

    // Text-size level of a browser (0..4; 2 until set).
    static int TextSizeLevel(TEmbeddedWB* browser);
    static void SetTextSizeLevel(TEmbeddedWB* browser, int level);

private:
    TEmbeddedWB* loadedBrowser() const;
    bool printTo(TEmbeddedWB* browser, QPrinter& printer);
    void bindEntries();

    TPageCommandHost host;
    TConnectionState& connection;
    QWidget* window;
    QPrinter* printer;
    int markedEncoding = 0;
};
