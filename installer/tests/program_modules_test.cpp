#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "program_modules.h"

namespace {

std::vector<std::string> calls;

template <int N>
void Init() {
  calls.push_back("init " + std::to_string(N));
}
template <int N>
void Fini() {
  calls.push_back("fini " + std::to_string(N));
}
void Fails() {
  calls.push_back("init fails");
  throw std::runtime_error("refused");
}

TEST(ModuleSequence, InitialisesInOrderAndFinalisesInReverse) {
  calls.clear();
  const ProgramModule modules[] = {{"a", Init<1>, Fini<1>}, {"b", Init<2>, nullptr}, {"c", nullptr, Fini<3>},
                                   {"d", Init<4>, Fini<4>}};
  {
    ModuleSequence sequence(modules);
    EXPECT_EQ(sequence.Initialised(), 4u);
    EXPECT_EQ(calls, (std::vector<std::string>{"init 1", "init 2", "init 4"}));
    calls.clear();
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"fini 4", "fini 3", "fini 1"}));
}

TEST(ModuleSequence, AFailingStartFinalisesOnlyTheModulesBeforeIt) {
  calls.clear();
  const ProgramModule modules[] = {{"a", Init<1>, Fini<1>}, {"b", Init<2>, Fini<2>}, {"c", Fails, Fini<3>},
                                   {"d", Init<4>, Fini<4>}};
  EXPECT_THROW(ModuleSequence sequence(modules), std::runtime_error);
  EXPECT_EQ(calls, (std::vector<std::string>{"init 1", "init 2", "init fails", "fini 2", "fini 1"}));
}

}  // namespace
