// The app's registration and the module functions that reach the host.
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "framework/app.h"
#include "framework/game_delegate.h"
#include "host/vx_game.h"

namespace {

class RateHost : public VxGame {
 public:
  std::vector<int> rates;
  String saved;
  void SetUpdateRate(int hertz) override {
    rates.push_back(hertz);
    VxGame::SetUpdateRate(hertz);
  }
  int Millisecs() override { return 1234; }
  int SaveState(String state) override {
    saved = state;
    return 0;
  }
  String LoadState() override { return saved; }
};

struct App : ::testing::Test {
  RateHost host;
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

TEST_F(App, TheFirstAppRegistersAndHandsANewDelegateToTheHost) {
  c_App* app = (new c_App())->m_new();
  EXPECT_EQ(vx_app__app, app);
  ASSERT_NE(vx_app__delegate, nullptr);
  EXPECT_EQ(host.Delegate(), vx_app__delegate);
  EXPECT_EQ(vx_app__delegate->m_graphics, nullptr);  // devices come with StartGame
  EXPECT_EQ(vx_app__delegate->m_input, nullptr);

  EXPECT_EXIT(
      {
        dup2(2, 1);  // fatal errors print on standard output; the death test reads standard error
        close(0);    // no debugger attached
        (new c_App())->m_new();
      },
      ::testing::ExitedWithCode(255), "Vorlix Runtime Error : App has already been created");
}

TEST_F(App, ModuleFunctionsReachTheHost) {
  vx_app_SetUpdateRate(0);
  vx_app_SetUpdateRate(60);
  EXPECT_EQ(host.rates, (std::vector<int>{0, 60}));
  EXPECT_EQ(vx_app__updateRate, 60);
  EXPECT_EQ(vx_app_Millisecs(), 1234);
  EXPECT_EQ(vx_app_SaveState(String("a|b")), 0);
  EXPECT_TRUE(vx_app_LoadState() == String("a|b"));
  EXPECT_EXIT(vx_app_EndApp(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
