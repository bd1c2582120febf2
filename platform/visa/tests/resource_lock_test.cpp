#include "platform/visa/resource_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/visa/tests/loopback_server.h"
#include "platform/visa/tests/visa_test_support.h"

namespace motqr::visa {
namespace {

using Clock = std::chrono::steady_clock;

TEST(VisaResourceLock, ExclusiveKeepsOthersOutSharedLetsKeyHoldersIn) {
  auto lock = ResourceLock::For("TEST::exclusive-and-shared");
  EXPECT_EQ(ResourceLock::For("TEST::exclusive-and-shared"), lock);
  int a = 0, b = 0, c = 0;
  std::string key;
  ASSERT_EQ(lock->Lock(&a, VI_EXCLUSIVE_LOCK, 0, "", &key).code(), VI_SUCCESS);
  EXPECT_TRUE(key.empty());
  EXPECT_EQ(lock->Lock(&a, VI_EXCLUSIVE_LOCK, 0, "", &key).code(), VI_SUCCESS_NESTED_EXCLUSIVE);
  EXPECT_TRUE(lock->CheckAccess(&a).ok());
  EXPECT_EQ(lock->CheckAccess(&b).code(), VI_ERROR_RSRC_LOCKED);
  EXPECT_EQ(lock->Lock(&b, VI_SHARED_LOCK, 0, "", &key).code(), VI_ERROR_RSRC_LOCKED);
  EXPECT_EQ(lock->Unlock(&a).code(), VI_SUCCESS_NESTED_EXCLUSIVE);
  EXPECT_EQ(lock->Unlock(&a).code(), VI_SUCCESS);
  EXPECT_EQ(lock->Unlock(&a).code(), VI_ERROR_SESN_NLOCKED);

  ASSERT_EQ(lock->Lock(&a, VI_SHARED_LOCK, 0, "bench", &key).code(), VI_SUCCESS);
  EXPECT_EQ(key, "bench");
  EXPECT_EQ(lock->Lock(&a, VI_SHARED_LOCK, 0, "other", &key).code(), VI_ERROR_INV_ACCESS_KEY);
  EXPECT_EQ(lock->Lock(&b, VI_SHARED_LOCK, 0, "bench", &key).code(), VI_SUCCESS);
  EXPECT_TRUE(lock->CheckAccess(&b).ok());
  EXPECT_EQ(lock->CheckAccess(&c).code(), VI_ERROR_RSRC_LOCKED);
  EXPECT_EQ(lock->Lock(&c, VI_SHARED_LOCK, 0, "wrong", &key).code(), VI_ERROR_RSRC_LOCKED);
  EXPECT_EQ(lock->Lock(&c, VI_EXCLUSIVE_LOCK, 0, "", &key).code(), VI_ERROR_RSRC_LOCKED);
  EXPECT_EQ(lock->Lock(&c, 7, 0, "", &key).code(), VI_ERROR_INV_LOCK_TYPE);

  // A waiting lock is granted as soon as the holders let go, not at its time-out.
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_TRUE(lock->Unlock(&a).ok());
    lock->ReleaseAll(&b);
  });
  const auto start = Clock::now();
  EXPECT_EQ(lock->Lock(&c, VI_EXCLUSIVE_LOCK, 1500, "", &key).code(), VI_SUCCESS);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
  release.join();
  lock->ReleaseAll(&c);
  EXPECT_TRUE(lock->CheckAccess(&a).ok());
}

TEST(VisaResourceLock, TransportIoIsRefusedWhileAnotherSessionHoldsTheLock) {
  testing::LoopbackServer server([](int client) {
    EXPECT_EQ(testing::LoopbackServer::Receive(client, 5), "*CLS\n");
    testing::LoopbackServer::AwaitClose(client);
  });
  auto transport = testing::Open(server.resource(), Backend::kTcpSocket);
  ASSERT_TRUE(transport);
  // Another session of this process on the same host (named in other case) and port.
  auto lock = ResourceLock::For("TCPIP::127.0.0.1::" + std::to_string(server.port()));
  int other = 0;
  std::string key;
  ASSERT_TRUE(lock->Lock(&other, VI_EXCLUSIVE_LOCK, 0, "", &key).ok());
  EXPECT_EQ(testing::Write(*transport, "*CLS\n").code(), VI_ERROR_RSRC_LOCKED);
  EXPECT_EQ(transport->Lock(VI_EXCLUSIVE_LOCK, 50, "", &key).code(), VI_ERROR_RSRC_LOCKED);
  lock->ReleaseAll(&other);
  EXPECT_TRUE(testing::Write(*transport, "*CLS\n").ok());
}

}  // namespace
}  // namespace motqr::visa
