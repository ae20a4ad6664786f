// The user's desktop folder, where a first start puts acquired pages.
#pragma once

#include <QString>

// The desktop folder without a trailing separator, or "" when the system names none.
QString GET_DESKTOP_DIR();
