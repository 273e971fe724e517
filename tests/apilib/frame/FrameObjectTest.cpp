// The SMS object's interfaces, identity, aggregation and the module's
// lifetime rules, through the library's exports.

#include "FrameTestSupport.h"

#include <parlink/Parlink.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using namespace frametest;

ComPtr<IClassFactory> Factory() {
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(S_OK,
            Module().getClassObject(&parlink::CLSID_SMS, &IID_IClassFactory, factory.OutVoid()));
  return factory;
}

TEST(FrameObject, AnswersItsInterfacesWithOneIdentity) {
  auto factory = Factory();
  ASSERT_TRUE(factory);
  ComPtr<IUnknown> object;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, &IID_IUnknown, object.OutVoid()));

  ComPtr<IDispatch> dispatch;
  ComPtr<ISMS> sms;
  ComPtr<ISupportErrorInfo> support;
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(S_OK, object->QueryInterface(&IID_IDispatch, dispatch.OutVoid()));
  ASSERT_EQ(S_OK, object->QueryInterface(&parlink::IID_ISMS, sms.OutVoid()));
  ASSERT_EQ(S_OK, object->QueryInterface(&IID_ISupportErrorInfo, support.OutVoid()));
  ASSERT_EQ(S_OK, object->QueryInterface(&IID_IConnectionPointContainer, container.OutVoid()));
  EXPECT_EQ(static_cast<IDispatch *>(sms.Get()), dispatch.Get()); // one table for both

  void *none = reinterpret_cast<void *>(1);
  EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(&IID_IClassFactory, &none));
  EXPECT_EQ(nullptr, none);

  IUnknown *fromSupport = nullptr;
  IUnknown *fromContainer = nullptr;
  ASSERT_EQ(S_OK, support->QueryInterface(&IID_IUnknown, reinterpret_cast<void **>(&fromSupport)));
  ASSERT_EQ(S_OK,
            container->QueryInterface(&IID_IUnknown, reinterpret_cast<void **>(&fromContainer)));
  EXPECT_EQ(object.Get(), fromSupport);
  EXPECT_EQ(object.Get(), fromContainer);
  fromSupport->Release();
  fromContainer->Release();

  // The vtable reaches the operations directly.
  LONG queue = 0;
  ASSERT_EQ(S_OK, sms->get_smsQUEUE(&queue));
  EXPECT_EQ(3, queue);
}

TEST(FrameObject, SupportsErrorInfoForIsmsOnly) {
  auto factory = Factory();
  ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, &IID_ISupportErrorInfo, support.OutVoid()));
  EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(&parlink::IID_ISMS));
  EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(&IID_IDispatch));
  EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(&IID_IUnknown));
}

TEST(FrameObject, HasNoConnectionPoints) {
  auto factory = Factory();
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(S_OK,
            factory->CreateInstance(nullptr, &IID_IConnectionPointContainer, container.OutVoid()));
  IConnectionPoint *point = reinterpret_cast<IConnectionPoint *>(1);
  EXPECT_EQ(static_cast<HRESULT>(0x80040200u),
            container->FindConnectionPoint(&parlink::DIID_ISMSEvents, &point));
  EXPECT_EQ(nullptr, point);
  EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(&IID_IDispatch, &point));

  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(S_OK, container->EnumConnectionPoints(points.Out()));
  IConnectionPoint *fetched[2] = {nullptr, nullptr};
  ULONG count = 99;
  EXPECT_EQ(S_FALSE, points->Next(2, fetched, &count));
  EXPECT_EQ(0u, count);
  EXPECT_EQ(S_FALSE, points->Skip(1));
  EXPECT_EQ(S_OK, points->Reset());
  ComPtr<IEnumConnectionPoints> copy;
  ASSERT_EQ(S_OK, points->Clone(copy.Out()));
  EXPECT_EQ(S_FALSE, copy->Next(1, fetched, nullptr));
}

TEST(FrameObject, ClassObjectOnlyForTheSmsClass) {
  void *out = reinterpret_cast<void *>(1);
  const CLSID other = {0x12345678, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, Module().getClassObject(&other, &IID_IClassFactory, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(E_NOINTERFACE, Module().getClassObject(&parlink::CLSID_SMS, &IID_IDispatch, &out));
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(S_OK, Module().getClassObject(&parlink::CLSID_SMS, &IID_IUnknown, unknown.OutVoid()));
  EXPECT_EQ(E_POINTER, Module().getClassObject(&parlink::CLSID_SMS, &IID_IUnknown, nullptr));
}

TEST(FrameObject, ModuleStaysLoadedWhileObjectsOrLocksLive) {
  auto factory = Factory();
  EXPECT_EQ(S_OK, Module().canUnloadNow());

  ComPtr<IDispatch> first;
  ComPtr<IDispatch> second;
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, &IID_IDispatch, first.OutVoid()));
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, &IID_IDispatch, second.OutVoid()));
  EXPECT_EQ(S_FALSE, Module().canUnloadNow());
  first.Reset();
  EXPECT_EQ(S_FALSE, Module().canUnloadNow());

  // Type information handed out keeps the module too.
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, second->GetTypeInfo(0, 0, info.Out()));
  second.Reset();
  EXPECT_EQ(S_FALSE, Module().canUnloadNow());
  info.Reset();
  EXPECT_EQ(S_OK, Module().canUnloadNow());

  ASSERT_EQ(S_OK, factory->LockServer(1));
  EXPECT_EQ(S_FALSE, Module().canUnloadNow());
  ASSERT_EQ(S_OK, factory->LockServer(0));
  EXPECT_EQ(S_OK, Module().canUnloadNow());

  // An unbalanced unlock does not drive the count below zero.
  ASSERT_EQ(S_OK, factory->LockServer(0));
  ASSERT_EQ(S_OK, factory->LockServer(1));
  EXPECT_EQ(S_FALSE, Module().canUnloadNow());
  ASSERT_EQ(S_OK, factory->LockServer(0));
  EXPECT_EQ(S_OK, Module().canUnloadNow());
}

// A minimal outer object that aggregates the SMS object.
class Outer final : public IUnknown {
public:
  HRESULT QueryInterface(REFIID riid, void **ppv) override {
    ++queries;
    if (IsEqualGUID(riid, &IID_IUnknown)) {
      *ppv = static_cast<IUnknown *>(this);
      AddRef();
      return S_OK;
    }
    return inner->QueryInterface(riid, ppv);
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }

  IUnknown *inner = nullptr;
  std::atomic<ULONG> refs{1};
  int queries = 0;
};

TEST(FrameObject, AggregatesUnderAnOuterObject) {
  auto factory = Factory();
  Outer outer;
  void *refused = reinterpret_cast<void *>(1);
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, &IID_IDispatch, &refused));
  EXPECT_EQ(nullptr, refused);
  EXPECT_EQ(S_OK, Module().canUnloadNow());

  ASSERT_EQ(S_OK, factory->CreateInstance(&outer, &IID_IUnknown,
                                          reinterpret_cast<void **>(&outer.inner)));
  ASSERT_NE(nullptr, outer.inner);
  EXPECT_NE(static_cast<IUnknown *>(&outer), outer.inner);
  EXPECT_EQ(S_FALSE, Module().canUnloadNow());

  // Interfaces of the inner object count their references on the outer one
  // and answer QueryInterface through it.
  IDispatch *dispatch = nullptr;
  ASSERT_EQ(S_OK,
            outer.inner->QueryInterface(&IID_IDispatch, reinterpret_cast<void **>(&dispatch)));
  EXPECT_EQ(2u, outer.refs.load());
  const int before = outer.queries;
  IUnknown *identity = nullptr;
  ASSERT_EQ(S_OK, dispatch->QueryInterface(&IID_IUnknown, reinterpret_cast<void **>(&identity)));
  EXPECT_EQ(static_cast<IUnknown *>(&outer), identity);
  EXPECT_EQ(before + 1, outer.queries);
  identity->Release();

  UINT count = 0;
  EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
  dispatch->Release();
  EXPECT_EQ(1u, outer.refs.load());

  // The inner unknown's own QueryInterface does not delegate.
  IUnknown *own = nullptr;
  ASSERT_EQ(S_OK, outer.inner->QueryInterface(&IID_IUnknown, reinterpret_cast<void **>(&own)));
  EXPECT_EQ(outer.inner, own);
  own->Release();

  EXPECT_EQ(0u, outer.inner->Release());
  EXPECT_EQ(S_OK, Module().canUnloadNow());
}

TEST(FrameObject, ThreadsCreatingObjectsAndLockingLeaveTheCountBalanced) {
  // Each thread is an apartment of its own: objects, type information and
  // server locks come and go at the same time, and the type library is
  // first built while they race.
  auto factory = Factory();
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 100; ++i) {
        IDispatch *object = nullptr;
        if (factory->CreateInstance(nullptr, &IID_IDispatch, reinterpret_cast<void **>(&object)) !=
            S_OK) {
          ++failures;
          continue;
        }
        ITypeInfo *info = nullptr;
        if (object->GetTypeInfo(0, 0, &info) == S_OK) {
          info->Release();
        } else {
          ++failures;
        }
        factory->LockServer(1);
        object->Release();
        factory->LockServer(0);
      }
    });
  }
  for (auto &thread : threads)
    thread.join();
  EXPECT_EQ(0, failures.load());
  EXPECT_EQ(S_OK, Module().canUnloadNow());
}

} // namespace
