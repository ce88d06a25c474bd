// The PDF writing settings dialog lives with the PDF subsystem.
#pragma once

#include "pdf/ui/WriteSettingUnit.h"
