#pragma once

// The whole program on the offscreen screen with a silent sound port, and helpers
// to deal with the modal dialogs it opens.

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "CMainFrame.h"
#include "CTessaformApp.h"
#include "CTessaformDoc.h"
#include "CTessaformView.h"
#include "GameState.h"
#include "Ports.h"

namespace tessaform::testing {

class SilentSound : public SoundPort {
public:
    void PlaySoundSync(int) override {}
    void PlaySoundAsync(int) override {}
};

// Started, shown, repainted once and active.
struct RunningApp {
    RunningApp();
    ~RunningApp();

    CMainFrame& Frame() { return *app->MainFrame(); }
    CTessaformDoc& Doc() { return *app->Document(); }
    GameState& State() { return Frame().View().Game().State(); }

    SilentSound sound;
    std::unique_ptr<CTessaformApp> app;
    // Every title the document took after the first repaint, in order.
    QStringList titles;
};

// Runs the event loop until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// Calls `act` with the next modal dialog as soon as it is open; any dialog the
// code under test opens runs its own loop, which keeps this going.
void WhenModalOpens(std::function<void(QWidget&)> act);

// Records the class of every modal dialog that opens while it lives and closes it.
class ModalWatcher {
public:
    ModalWatcher();
    ~ModalWatcher();
    std::vector<std::string> opened;

private:
    struct Poll;
    std::unique_ptr<Poll> poll_;
};

// What the game shows and keeps, to compare before and after a command.
struct GameSnapshot {
    explicit GameSnapshot(const GameState& s);
    friend bool operator==(const GameSnapshot&, const GameSnapshot&) = default;

    std::array<int, kBlockCount> arrangement, status, clicks;
    CalendarTime gameStartTime;
    int clockRunning, boardInitialized, gameIndex, gameOver;
    std::int32_t matchScore, clickCost;
    std::array<std::int32_t, 6> setScores;
};

// The text of a PDF as pdftotext reads it, or nothing when it cannot.
QString PdfText(const QString& path);

}  // namespace tessaform::testing
