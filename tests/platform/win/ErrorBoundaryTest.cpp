// The error boundary: what it reports, to whom, and what it says when nobody listens.

#include "platform/win/ErrorBoundary.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class ErrorBoundaryTest : public ::testing::Test {
 protected:
  void TearDown() override { SetExceptionHandler(nullptr); }
};

TEST_F(ErrorBoundaryTest, ReportsWhatTheCodeRaisesToTheHandlerAndSaysWhetherItFinished) {
  std::vector<std::string> shown;
  SetExceptionHandler([&shown](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      shown.push_back(e.what());
    } catch (...) {
      shown.push_back("?");
    }
  });
  int ran = 0;
  EXPECT_TRUE(Guarded([&ran] { ++ran; }));
  EXPECT_FALSE(Guarded([] { throw std::runtime_error("first"); }));
  EXPECT_FALSE(Guarded([] { throw 42; }));
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(shown, (std::vector<std::string>{"first", "?"}));
}

TEST_F(ErrorBoundaryTest, WithoutAHandlerTheMessageGoesToStandardError) {
  testing::internal::CaptureStderr();
  Guarded([] { throw std::runtime_error("lost file"); });
  Guarded([] { throw 42; });
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "markedit: lost file\nmarkedit: unknown error\n");
}

}  // namespace
