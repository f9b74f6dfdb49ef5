// One settings window per settings file: a second claim is refused and asks
// the first window to come to the front; the place is free again once the
// first window is gone.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <memory>

#include "tests/generate/temp_folder.h"
#include "text/codec.h"
#include "ui/single_window.h"

namespace qp::ui {
namespace {

TEST(SingleWindow, ASecondStartRaisesTheFirstWindowInsteadOfOpeningOne) {
  gen::testing::TempFolder folder;
  const Text settings = FromPath(folder.path());
  auto first = std::make_unique<SingleWindow>();
  int raised = 0;
  QObject::connect(first.get(), &SingleWindow::RaiseRequested, [&raised] { ++raised; });
  ASSERT_TRUE(first->Claim(settings));

  SingleWindow second;
  EXPECT_FALSE(second.Claim(settings));
  EXPECT_TRUE(QTest::qWaitFor([&raised] { return raised == 1; }, 3000));

  // Another settings file has a window of its own.
  gen::testing::TempFolder otherFolder;
  const Text other = FromPath(otherFolder.path());
  EXPECT_NE(SingleWindow::SocketName(settings), SingleWindow::SocketName(other));
  SingleWindow elsewhere;
  EXPECT_TRUE(elsewhere.Claim(other));

  first.reset();
  SingleWindow third;
  EXPECT_TRUE(third.Claim(settings));
  EXPECT_EQ(raised, 1);
}

}  // namespace
}  // namespace qp::ui
