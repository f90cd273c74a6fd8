#include "core/logging.h"

Q_LOGGING_CATEGORY(lcCore, "pavlet.core")
Q_LOGGING_CATEGORY(lcApp, "pavlet.app")
Q_LOGGING_CATEGORY(lcPlatform, "pavlet.platform")
Q_LOGGING_CATEGORY(lcServices, "pavlet.services")
Q_LOGGING_CATEGORY(lcCanvas, "pavlet.canvas")
Q_LOGGING_CATEGORY(lcGames, "pavlet.games")
Q_LOGGING_CATEGORY(lcMedia, "pavlet.media")
Q_LOGGING_CATEGORY(lcTools, "pavlet.tools")
