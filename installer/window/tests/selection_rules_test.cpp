#include "selection_rules.h"

#include <gtest/gtest.h>
