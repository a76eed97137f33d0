#pragma once
#include "../common/TempDir.h"
