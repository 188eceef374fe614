// Binding the engine by name: a missing library, a wrong version, and missing operations.
#include "ZORBEL.h"

#include <gtest/gtest.h>

namespace {

TEST(EngineBinding, AMissingLibraryIsReportedAndLeavesEveryOperationInert) {
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(zorbel::Bind("/nonexistent/libzorbel_gl.so"));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Error while loading ZORBEL Engine"), std::string::npos) << err;
    // Calling through the table after a failed bind does nothing and answers zero.
    EXPECT_EQ(M_Round(2.7f), 0);
    EXPECT_EQ(Tex_LoadFromFile("PICTURE\\X.bmp", -1, 266), nullptr);
    ZB_Init(16, 0);
}

TEST(EngineBinding, ALibraryOfAnotherInterfaceVersionIsRefused) {
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(zorbel::Bind(WRONG_VERSION_ENGINE));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("version 999"), std::string::npos) << err;
    EXPECT_NE(err.find("Error while loading ZORBEL Engine"), std::string::npos) << err;
    EXPECT_EQ(M_Round(2.7f), 0);
}

TEST(EngineBinding, MissingOperationsAreNamedOnceAndStayInert) {
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(zorbel::Bind(PARTIAL_ENGINE));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(M_Round(2.5f), 2); // bound from the library
    EXPECT_NE(err.find("no operation ZB_Init\n"), std::string::npos) << err;
    EXPECT_NE(err.find("no operation U_GetTime\n"), std::string::npos) << err;
    EXPECT_EQ(err.find("no operation M_Round"), std::string::npos) << err;
    EXPECT_EQ(err.find("ZB_Init"), err.rfind("ZB_Init")); // named once
    ZB_Init(16, 0);                                       // inert, not a crash
    EXPECT_EQ(U_GetTime(), 0.0);
}

} // namespace
