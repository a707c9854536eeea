// The recap that ends a set.
#pragma once

#include "DeviceContext.h"
#include "GameState.h"

namespace tessaform {

// The row of set results along the bottom and the play-another-set column.
void DrawRecap(DeviceContext& dc, GameState& state);

}  // namespace tessaform
