#pragma once
#include "tests/support/QtApp.h"
