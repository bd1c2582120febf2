#include "platform/com/object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "platform/com/class_registry.h"
#include "platform/com/global_interface_table.h"

namespace motqr::com {
namespace {

class IFirst : public IUnknown {
 public:
  static constexpr IID kIid{0xA1, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  virtual int First() = 0;

 protected:
  ~IFirst() = default;
};
class ISecond : public IUnknown {
 public:
  static constexpr IID kIid{0xA2, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};
  virtual int Second() = 0;

 protected:
  ~ISecond() = default;
};

class Thing final : public ComObject<Thing, IFirst, ISecond> {
 public:
  HRESULT QueryInterface(const IID& iid, void** object) override {
    return QueryInterfaceTable(this, iid, object,
                               {Entry<IFirst>(), Entry<ISecond>(), Entry<IUnknown, IFirst>()});
  }
  int First() override { return 1; }
  int Second() override { return 2; }
};

constexpr CLSID kThingClass{0xC1, 0, 0, {0, 0, 0, 0, 0, 0, 0, 9}};

HRESULT CreateThing(IUnknown* outer, const IID& iid, void** object) {
  if (outer) return CLASS_E_NOAGGREGATION;
  ComPtr<IFirst> thing = MakeObject<Thing, IFirst>();
  if (!thing) return E_OUTOFMEMORY;
  return thing->QueryInterface(iid, object);
}

TEST(ComObject, QueryInterfaceFollowsTheTableAndIdentity) {
  const long before = ModuleLock::Count();
  {
    ComPtr<IFirst> first = MakeObject<Thing, IFirst>();
    EXPECT_EQ(ModuleLock::Count(), before + 1);
    ComPtr<ISecond> second;
    ASSERT_EQ(first.As(&second), S_OK);
    EXPECT_EQ(second->Second(), 2);
    ComPtr<IUnknown> u1, u2;
    first.As(&u1);
    second.As(&u2);
    EXPECT_EQ(u1.Get(), u2.Get());  // one identity whatever the path
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(first->QueryInterface(IClassFactory::kIid, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
  }
  EXPECT_EQ(ModuleLock::Count(), before);  // the last Release deleted it
}

TEST(ClassRegistry, CreatesRegisteredClassesOnly) {
  ComPtr<IFirst> p;
  EXPECT_EQ(CoCreateInstance(kThingClass, nullptr, CLSCTX_ALL, IFirst::kIid, p.PutVoid()),
            REGDB_E_CLASSNOTREG);
  ComPtr<IClassFactory> factory = MakeClassFactory(&CreateThing);
  ASSERT_EQ(RegisterClassObject(kThingClass, factory.Get()), S_OK);
  ASSERT_EQ(CoCreateInstance(kThingClass, nullptr, CLSCTX_ALL, IFirst::kIid, p.PutVoid()), S_OK);
  EXPECT_EQ(p->First(), 1);
  EXPECT_EQ(RevokeClassObject(kThingClass), S_OK);
  EXPECT_EQ(RevokeClassObject(kThingClass), CO_E_OBJNOTREG);
}

TEST(GlobalInterfaceTable, HoldsAReferenceUntilRevokedAndIsThreadSafe) {
  ComPtr<IFirst> first = MakeObject<Thing, IFirst>();
  std::vector<std::uint32_t> cookies(8);
  std::vector<std::thread> threads;
  for (auto& cookie : cookies) {
    threads.emplace_back([&] { RegisterInterfaceInGlobal(first.Get(), IFirst::kIid, &cookie); });
  }
  for (auto& t : threads) t.join();
  std::sort(cookies.begin(), cookies.end());
  EXPECT_EQ(std::adjacent_find(cookies.begin(), cookies.end()), cookies.end());
  ComPtr<ISecond> second;
  ASSERT_EQ(GetInterfaceFromGlobal(cookies[0], ISecond::kIid, second.PutVoid()), S_OK);
  for (auto cookie : cookies) EXPECT_EQ(RevokeInterfaceFromGlobal(cookie), S_OK);
  EXPECT_EQ(RevokeInterfaceFromGlobal(cookies[0]), E_INVALIDARG);
  EXPECT_EQ(GetInterfaceFromGlobal(cookies[0], ISecond::kIid, second.PutVoid()), E_INVALIDARG);
}

}  // namespace
}  // namespace motqr::com
