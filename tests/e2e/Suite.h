#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Checks.h"
#include "Desktop.h"
#include "DigitReader.h"
#include "Planner.h"
#include "ScreenReader.h"
#include "SoundLog.h"

namespace tessaform::e2e {

struct SuiteOptions {
    QString game;    // the program to play
    QString sounds;  // the build's raw copies of its sounds
    QString out;     // where screenshots, logs and the recording go
    int width = 800;
    int height = 600;
};

// One whole set of five games and the start of the next, played on a private
// screen of the given size:
//   game 1  all eleven blocks matched, the last one once the time is below 1:30;
//   game 2  a move that makes two open blocks equal, then the rest matched;
//   game 3  a press inside a block off its arrows, then the rest matched;
//   game 4  two blocks matched, then the time runs out;
//   game 5  all eleven matched at once;
// then the recap, and a click on its yellow column that deals a new set.
class Suite {
public:
    explicit Suite(const SuiteOptions& options);
    // Exit status: 0 when every check held.
    int Run();

private:
    struct Capture {
        double seconds;
        qint64 framesBefore;
        qint64 framesAfter;
    };
    // Captures until a board shows, noting those that show the opening figure.
    struct Deal {
        Shot board;
        std::vector<Capture> figure;
        std::optional<Shot> firstFigure;
    };

    void Play();
    Deal AwaitFirstDeal(const std::string& what);
    Shot AwaitNextGame(int game, const Shot& end);
    void CheckFreshGame(const Shot& board, int game);
    void CheckDealSound(const Deal& deal, qint64 from, bool figureWhilePlaying);
    void CheckRest(qint64 lastPress, const Shot& end, const Shot& board);

    void WonGame(int game, const Shot& board, bool waitBelowNinety);
    void CollisionGame(const Shot& board);
    void PressOffGame(const Shot& board);
    void TimedOutGame(const Shot& board);
    void Recap();

    Table ReadTable(const Shot& shot);
    void PlayMoves(Table& table, const std::vector<Move>& moves);
    Shot AwaitStrip(const Table& table, bool bonus);
    long ReadNumber(const Shot& shot, const Box& box, const std::string& what);
    int ReadSeconds(const Shot& shot);
    std::vector<Move> Plan(const Table& table, std::vector<int> blocks, int variant);

    // Waits that end the run when they fail, and waits whose failure is one failed check.
    Shot WaitFor(const std::string& what, double seconds,
                 const std::function<bool(const Shot&)>& done, double pause = 0);
    bool Within(const std::string& check, double seconds,
                const std::function<bool(const Shot&)>& done, Shot* shot = nullptr,
                const std::function<std::string()>& detail = {});
    Screen On(const Shot& shot) { return Screen(shot.image, layout_, digits_); }
    void Save(const Shot& shot, const std::string& name);
    void Later(std::function<void(const SoundLog&)> check);

    SuiteOptions options_;
    Checks checks_;
    DigitReader digits_;
    std::optional<Desktop> desktop_;
    Layout layout_;
    std::vector<long> netScores_;
    std::vector<std::pair<std::string, std::function<void(const SoundLog&)>>> later_;
    qint64 lastPress_ = 0;
    Shot lastShot_;
};

}  // namespace tessaform::e2e
