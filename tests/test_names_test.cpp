// ctest names the discovered tests after gtest's names: a parameterised test
// without a name generator gets a number there, and its printed parameter
// (raw bytes of pointers) in the ctest name.

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TestNames, ParameterisedTestsHaveNamedCases) {
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const ::testing::TestSuite& suite = *unit.GetTestSuite(i);
        for (int j = 0; j < suite.total_test_count(); ++j) {
            const ::testing::TestInfo& test = *suite.GetTestInfo(j);
            if (test.value_param() == nullptr) continue;
            const std::string name = test.name();
            const std::string last = name.substr(name.rfind('/') + 1);
            EXPECT_NE(last.find_first_not_of("0123456789"), std::string::npos)
                << suite.name() << "." << name;
        }
    }
}

}  // namespace
