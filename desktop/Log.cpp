// The program's log categories; a player can send their lines with a bug report.
#include "Log.h"

Q_LOGGING_CATEGORY(lcGame, "tessaform.game", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSound, "tessaform.sound", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWindow, "tessaform.window", QtWarningMsg)
