// The app's registration with the host.
#include "framework/app.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "framework/game_delegate.h"
#include "host/vx_game.h"

namespace {

struct App : ::testing::Test {
  VxGame host;
  void SetUp() override {
    vx_app__app = nullptr;
    vx_app__delegate = nullptr;
    vx_app__game = &host;
  }
  void TearDown() override {
    vx_app__app = nullptr;
    vx_app__delegate = nullptr;
    vx_app__game = nullptr;
  }
};

TEST_F(App, TheFirstAppRegistersAndHandsANewDelegateToTheHostASecondIsFatal) {
  c_App* app = (new c_App())->m_new();
  EXPECT_EQ(vx_app__app, app);
  ASSERT_NE(vx_app__delegate, nullptr);
  EXPECT_EQ(host.Delegate(), vx_app__delegate);
  EXPECT_EQ(vx_app__delegate->m_graphics, nullptr);  // devices come with StartGame

  EXPECT_EXIT(
      {
        dup2(2, 1);  // fatal errors print on standard output; the death test reads standard error
        close(0);    // no debugger attached
        (new c_App())->m_new();
      },
      ::testing::ExitedWithCode(255), "Vorlix Runtime Error : App has already been created");
}

}  // namespace
