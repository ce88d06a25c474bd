// The window lives with the page intake; this name is kept for the program's window list.
#pragma once

#include "intake/ui/BigImageUnit.h"
