#pragma once
#include "app/WaitCursor.h"
