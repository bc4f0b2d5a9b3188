// Icon 128, the program's icon: drawn here rather than shipped as a file.
#pragma once

#include "win/window.h"

win::IconImage ProgramIcon();
