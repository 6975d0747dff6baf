#include <gtest/gtest.h>

#include "host.h"

TEST(Catalogue, Loads) {
  NbHost host(NbHost::DefaultPluginPath());
  EXPECT_EQ(host.Catalogue().size(), 107u);
}

#include "inprocess.h"

TEST(InProcess, Loads) {
  NbHost host(InProcessExports());
  EXPECT_EQ(host.Catalogue().size(), 107u);
}
