// The fake ports and the recording context behind every handler test, the soak and the benchmarks.
#include "ViewHarness.h"

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "Arrangements.h"
#include "Resources.h"
#include "SoundPlayer.h"
#include "Wave.h"

namespace tessaform::testing {

ViewHarness::ViewHarness(int width, int height, int dissolveFrames) {
    surface.Resize(width, height);
    view = std::make_unique<GameView>(
        ViewPorts{*this, *this, *this, *this, *this, *this,
                  [this](const std::string& text) {
                      title = text;
                      picturesAtTitle = view->PicturesLoaded();
                  },
                  [this](const std::string& line) { log.push_back(line); }},
        DissolvePacing{dissolveFrames, {}});
}

void ViewHarness::PlaySoundSync(int id) {
    log.push_back("wait sound " + std::to_string(id));
    if (!soundFails || !soundFails()) {
        ms += SoundMs(id);
        if (onSound) {
            onSound(id, true);
        }
    }
}

void ViewHarness::PlaySoundAsync(int id) {
    log.push_back("start sound " + std::to_string(id));
    if (soundFails && soundFails()) {
        if (!std::exchange(warned, true)) {
            ShowMessage(kSoundWarning, "Tessaform", MessageIcon::kExclamation);
        }
    } else if (onSound) {
        onSound(id, false);
    }
}

int ViewHarness::Next() {
    if (draws.empty()) {
        return seeded.Next();
    }
    const int draw = draws.front();
    draws.erase(draws.begin());
    return draw;
}

void ViewHarness::PressArrow(int block, int arrow) {
    const Rect& hot = kArrowHotSpots[arrow];
    // The centre arms overlap near the middle; their outer corners are theirs alone.
    const int dx = arrow < 6 ? (hot.left + hot.right) / 2
                             : (arrow == 6 || arrow == 8 ? hot.left + 2 : hot.right - 2);
    const int dy = arrow < 6 ? (hot.top + hot.bottom) / 2
                             : (arrow == 6 || arrow == 7 ? hot.top + 2 : hot.bottom - 2);
    PressIn(block, dx, dy);
}

namespace {

using Numbers = const std::vector<int>&;
const std::map<std::string, std::function<void(ViewHarness&, Numbers)>> kSteps = {
    {"press", [](ViewHarness& h, Numbers n) { h.Press(n.at(0), n.at(1)); }},
    {"in", [](ViewHarness& h, Numbers n) { h.PressIn(n.at(0), n.at(1), n.at(2)); }},
    {"miss", [](ViewHarness& h, Numbers n) { h.PressIn(n.at(0), 30, 30); }},
    {"arrow",
     [](ViewHarness& h, Numbers n) {
         for (int i = 0; i < (n.size() > 2 ? n[2] : 1); ++i) {
             h.PressArrow(n.at(0), n.at(1));
         }
     }},
    {"at", [](ViewHarness& h, Numbers n) { h.At(n.at(0)); }},
    {"tick", [](ViewHarness& h, Numbers n) { h.Tick(n.empty() ? kClockTimer : n[0]); }},
    {"wait", [](ViewHarness& h, Numbers n) { h.ms += n.at(0); }},
    {"rest", [](ViewHarness& h, Numbers) { h.Play("wait 1000; tick 2"); }},
    {"out", [](ViewHarness& h, Numbers) { h.Play("at 105; tick; rest"); }},
    {"repaint", [](ViewHarness& h, Numbers) { h.Repaint(); }},
    {"evaluate", [](ViewHarness& h, Numbers) { h.view->EvaluateBoard(); }},
    {"size", [](ViewHarness& h, Numbers n) { h.surface.Resize(n.at(0), n.at(1)); }},
    {"refuse", [](ViewHarness& h, Numbers n) { h.refuse.insert(n.at(0)); }},
    {"grant", [](ViewHarness& h, Numbers) { h.refuse.clear(); }},
    {"forget", [](ViewHarness& h, Numbers) { h.record.texts.clear(), h.log.clear(); }},
    {"matched",
     [](ViewHarness& h, Numbers) {
         for (int k = 2; k < kBlockCount; ++k) {
             h.State().blockStatus[k] = kMatched;
             h.State().blockClicks[k] = 1;
         }
     }},
    {"clicks", [](ViewHarness& h, Numbers n) { h.State().blockClicks.fill(n.at(0)); }},
};

}  // namespace

void ViewHarness::Play(const std::string& steps) {
    std::istringstream in(steps);
    for (std::string step; std::getline(in, step, ';');) {
        std::istringstream words(step);
        std::string verb;
        std::vector<int> n;
        words >> verb;
        for (int value; words >> value;) {
            n.push_back(value);
        }
        kSteps.at(verb)(*this, n);
    }
}

int ViewHarness::Pixels(const Rect& r, Rgb colour) const {
    int count = 0;
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, Image().height()); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(Image().constScanLine(y));
        for (int x = std::max(r.left, 0); x < std::min(r.right, Image().width()); ++x) {
            count += row[x] == colour.Argb() ? 1 : 0;
        }
    }
    return count;
}

int ViewHarness::Ring(int block, Rgb colour) const {
    const Rect& r = view->State().blockRect[block];
    return Pixels(r, colour) - Pixels({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, colour);
}

bool ViewHarness::Grey(int block) const {
    const Rect& r = view->State().blockRect[block];
    return Pixels(r, kGrey) == r.Width() * r.Height();
}

std::int64_t SoundMs(int id) {
    const auto wave = ParseWave(FindResource(kSoundType, id));
    return wave ? static_cast<std::int64_t>(wave->Seconds() * 1000) : 0;
}

std::string DealLine(int game) {
    return "deal game " + std::to_string(game) + ": 0 1 2 3 4 5 6 7 8 9 10 11";
}

Log RestThenNext(int game) {
    const std::string n = std::to_string(game);
    return {"kill timer 1",
            "start sound 158",
            "game " + n + " over: time",
            "set timer 2",
            "kill timer 2",
            "score game " + n + ": match 10 clicks 0 bonus 0 net 10",
            "show",
            "wait sound 157",
            "show",
            "wait sound 154",
            "set timer 1",
            DealLine(game + 1)};
}

Log Join(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Log Slice(const Log& log, std::size_t from, std::size_t to) {
    return Log(log.begin() + static_cast<long>(from),
               log.begin() + static_cast<long>(std::min(to, log.size())));
}

}  // namespace tessaform::testing
