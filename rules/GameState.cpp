#include "GameState.h"

namespace tessaform {

GameState::GameState() : scaleTable(BuildScaleTable()) {}

}  // namespace tessaform
