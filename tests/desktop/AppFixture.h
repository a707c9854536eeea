#pragma once

// The whole program on the offscreen screen with a silent sound port, and a hand for
// the modal dialogs it opens.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "CMainFrame.h"
#include "CTessaformApp.h"
#include "CTessaformDoc.h"
#include "CTessaformView.h"
#include "GameState.h"
#include "Ports.h"

namespace tessaform::testing {

struct SilentSound : SoundPort {
    void PlaySoundSync(int) override {}
    void PlaySoundAsync(int) override {}
};

// Started, shown, repainted once and active.
struct RunningApp {
    RunningApp() {
        // The file dialog remembers where it was: not among the settings of whoever runs this.
        QStandardPaths::setTestModeEnabled(true);
        // Closing the window would otherwise stop every event loop still to come.
        QApplication::setQuitOnLastWindowClosed(false);
        EXPECT_TRUE(app.InitInstance());
        EXPECT_TRUE(QTest::qWaitFor([this] { return State().boardInitialized == 1; }, 90000));
        QObject::connect(app.Document(), &CTessaformDoc::TitleChanged,
                         [this](const QString& title) { titles.push_back(title); });
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    }

    CMainFrame& Frame() { return *app.MainFrame(); }
    GameState& State() { return Frame().View().Game().State(); }

    SilentSound sound;
    CTessaformApp app{&sound};
    QStringList titles;  // every title the document took after the first repaint
};

// Hands the next modal dialog to `act`, from within the dialog's own loop.
inline void OnNextModal(const std::function<void(QWidget&)>& act) {
    QTimer::singleShot(0, [act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(*modal);
        }
    });
}

}  // namespace tessaform::testing
