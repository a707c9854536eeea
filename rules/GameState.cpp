// A fresh game state, with its scale of points built in.
#include "GameState.h"

namespace tessaform {

GameState::GameState() : scaleTable(BuildScaleTable()) {}

}  // namespace tessaform
