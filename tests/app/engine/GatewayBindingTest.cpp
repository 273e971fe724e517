// The gateway binding: creation by programmatic identifier through the
// automation runtime, the member tables, the required-argument checks and
// the by-name calls, against the real Parlink library.
#include "SimulatorFixture.h"

#include "engine/GatewayBinding.h"
#include "engine/LoginOperation.h"

#include <gtest/gtest.h>

#include <vector>

using namespace engine;
using namespace enginetest;

TEST(GatewayBindingNotReady, EveryCallFailsWithoutInvoking) {
  GatewayBinding binding;
  EXPECT_FALSE(binding.IsReady());
  std::string out;
  std::int32_t value = 0;
  EXPECT_EQ(binding.SendMsg(true, "x", "1", &out), E_FAIL);
  EXPECT_EQ(binding.Ping(&out), E_FAIL);
  EXPECT_EQ(binding.QueryBalance(&out), E_FAIL);
  EXPECT_EQ(binding.EndBatch(&out), E_FAIL);
  EXPECT_EQ(binding.Version(&out), E_FAIL);
  EXPECT_EQ(binding.get_smsERROR(&value), E_FAIL);
  EXPECT_EQ(binding.put_smsUNICODE(true), E_FAIL);
  EXPECT_EQ(binding.put_smsMSG_TYPE(1), E_FAIL);
  EXPECT_EQ(binding.put_smsFROM("x"), E_FAIL);
  EXPECT_EQ(binding.InvokeByName(u"Ping", DISPATCH_METHOD, nullptr, 0, nullptr), E_FAIL);
  EXPECT_EQ(binding.LastError(), -1);
}

TEST(GatewayBindingCreation, AnUnregisteredClassGivesNoBinding) {
  HRESULT hr = S_OK;
  std::unique_ptr<GatewayBinding> binding = GatewayBinding::Create(&hr, u"Parlink.Missing");
  EXPECT_FALSE(binding);
  EXPECT_TRUE(FAILED(hr));
  // Before the library is registered, "Parlink.SMS" is unknown too.
  binding = GatewayBinding::Create(&hr);
  EXPECT_FALSE(binding);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_EQ(shell::StringTable::BuiltIn().Get(GatewayBinding::kCreateFailedCaptionId),
            "SMS Client failed to start...");
  EXPECT_EQ(shell::StringTable::BuiltIn().Get(GatewayBinding::kCreateFailedTextId).substr(0, 52),
            "The SMS communication layer could not be initialized");
}

namespace {

// An automation object that records the arguments of every call made on it.
class RecordingObject final : public IDispatch {
public:
  struct Invocation {
    DISPID member;
    WORD kind;
    std::vector<VARIANT> args; // as they crossed (last argument first)
    std::vector<DISPID> named;
  };
  std::vector<Invocation> invocations;

  HRESULT QueryInterface(REFIID, void **ppv) override {
    *ppv = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override { return --refs_; }
  HRESULT GetTypeInfoCount(UINT *count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *ids) override {
    *ids = ++lastId_;
    return S_OK;
  }
  HRESULT Invoke(DISPID member, REFIID, LCID, WORD kind, DISPPARAMS *params, VARIANT *, EXCEPINFO *,
                 UINT *) override {
    Invocation call{member, kind, {}, {}};
    call.args.assign(params->rgvarg, params->rgvarg + params->cArgs);
    call.named.assign(params->rgdispidNamedArgs, params->rgdispidNamedArgs + params->cNamedArgs);
    invocations.push_back(call);
    return S_OK;
  }

private:
  ULONG refs_ = 1;
  DISPID lastId_ = 0;
};

} // namespace

// What crosses the boundary for a boolean property: a VT_BOOL of -1 or 0,
// passed as the property-put argument.
TEST(GatewayBindingBoundary, BooleanPutsCrossAsMinusOne) {
  RecordingObject object;
  std::unique_ptr<GatewayBinding> binding = GatewayBinding::Attach(&object);
  ASSERT_TRUE(binding);
  DISPID unicode = 0, acks = 0;
  ASSERT_TRUE(binding->FindMember(u"smsUNICODE", unicode));
  ASSERT_TRUE(binding->FindMember(u"smsDELIVERY_ACK", acks));
  ASSERT_EQ(binding->put_smsUNICODE(true), S_OK);
  ASSERT_EQ(binding->put_smsDELIVERY_ACK(false), S_OK);

  ASSERT_EQ(object.invocations.size(), 2u);
  const RecordingObject::Invocation &on = object.invocations[0];
  EXPECT_EQ(on.member, unicode);
  EXPECT_EQ(on.kind, DISPATCH_PROPERTYPUT);
  ASSERT_EQ(on.args.size(), 1u);
  EXPECT_EQ(on.args[0].vt, VT_BOOL);
  EXPECT_EQ(on.args[0].boolVal, -1);
  EXPECT_EQ(on.named, std::vector<DISPID>{DISPID_PROPERTYPUT});
  const RecordingObject::Invocation &off = object.invocations[1];
  EXPECT_EQ(off.member, acks);
  ASSERT_EQ(off.args.size(), 1u);
  EXPECT_EQ(off.args[0].vt, VT_BOOL);
  EXPECT_EQ(off.args[0].boolVal, 0);
}

class GatewayBindingTest : public SimulatorTest {};

TEST_F(GatewayBindingTest, ResolvesBothTables) {
  EXPECT_TRUE(binding->IsReady());
  EXPECT_EQ(binding->MethodsResolved(), 21);
  EXPECT_EQ(binding->PropertiesResolved(), 15);
  DISPID id = 0;
  ASSERT_TRUE(binding->FindMember(u"SendMsg", id));
  EXPECT_EQ(id, 36);
  ASSERT_TRUE(binding->FindMember(u"SMSERROR", id));
  EXPECT_EQ(id, 7);
  ASSERT_TRUE(binding->FindMember(u"getmsgcharge", id));
  EXPECT_EQ(id, 69);
  ASSERT_TRUE(binding->FindMember(u"smsREQUIRED_FEATURES", id));
  EXPECT_EQ(id, 61);
  EXPECT_FALSE(binding->FindMember(u"QueryCoverage", id)); // not in the program's tables
  EXPECT_FALSE(binding->FindMember(u"SendMs", id));
}

TEST_F(GatewayBindingTest, RequiredArgumentsAreCheckedBeforeInvoking) {
  std::string out;
  EXPECT_EQ(binding->SendMsg(true, nullptr, "0821234567", &out), E_FAIL);
  EXPECT_EQ(binding->SendMsg(true, "x", "0821234567", nullptr), E_FAIL);
  EXPECT_EQ(binding->AuthenticateClient("DVTX", nullptr, "p", &out), E_FAIL);
  EXPECT_EQ(binding->GetMsgCharge(true, nullptr, &out), E_FAIL);
  EXPECT_EQ(binding->StopMsgAPIID(nullptr, &out), E_FAIL);
  EXPECT_EQ(binding->QuickBatchSend(nullptr, &out), E_FAIL);
  EXPECT_EQ(binding->ConfigureProxyEx(false, 1, nullptr, "", nullptr, nullptr, &out), E_FAIL);
  EXPECT_EQ(binding->RecoverPassword("u", nullptr, &out), E_FAIL);
  EXPECT_TRUE(Requests().empty());

  // SendMsg lets To be null: the call is made (and, logged out, refused by
  // the library without a request).
  EXPECT_EQ(binding->SendMsg(true, "x", nullptr, &out), S_OK);
  EXPECT_EQ(out, "ERR: 3");
  EXPECT_EQ(binding->LastError(), 3);
  EXPECT_TRUE(Requests().empty());
}

TEST_F(GatewayBindingTest, MembersAreFoundWhateverTheLetterCase) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(u"alice");
  EXPECT_EQ(binding->InvokeByName(u"SMSUSER", DISPATCH_PROPERTYPUT, &value, 1, nullptr), S_OK);
  VariantClear(&value);
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(binding->InvokeByName(u"smsuser", DISPATCH_PROPERTYGET, nullptr, 0, &result), S_OK);
  ASSERT_EQ(result.vt, VT_BSTR);
  EXPECT_EQ(std::u16string(result.bstrVal), u"alice");
  VariantClear(&result);

  EXPECT_EQ(binding->InvokeByName(u"NoSuchMember", DISPATCH_METHOD, nullptr, 0, &result), E_FAIL);
  EXPECT_EQ(binding->InvokeByName(u"", DISPATCH_METHOD, nullptr, 0, &result), E_FAIL);
}

TEST_F(GatewayBindingTest, TextCrossesAsWindows1252) {
  std::string encoded;
  ASSERT_EQ(binding->EncodeToUnicode("A\x80\xe9", &encoded), S_OK);
  EXPECT_EQ(encoded, "004120ac00e9");
  ASSERT_EQ(binding->put_smsFROM("Caf\xe9"), S_OK);
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(binding->InvokeByName(u"smsFROM", DISPATCH_PROPERTYGET, nullptr, 0, &result), S_OK);
  EXPECT_EQ(std::u16string(result.bstrVal), u"Caf\u00e9");
  VariantClear(&result);
}

TEST_F(GatewayBindingTest, LoginPingAndBalanceThroughTheSimulator) {
  ASSERT_TRUE(Login());
  std::string session;
  ASSERT_EQ(binding->get_smsSESSION_ID(&session), S_OK);
  EXPECT_EQ(session.size(), 32u);
  std::string reply;
  ASSERT_EQ(binding->Ping(&reply), S_OK);
  EXPECT_EQ(binding->LastError(), 0);
  ASSERT_EQ(binding->QueryBalance(&reply), S_OK);
  EXPECT_EQ(reply, "100000");
  EXPECT_EQ(Requests("http/cli_auth").size(), 1u);

  LoginOperation::Result bad =
      LoginOperation::Login(*binding, "DVTX", "demo", "wrong", &h->prompts, h->strings);
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.error, 1);
  EXPECT_TRUE(h->prompts.All().empty());
}

class GatewayBindingOfflineTest : public SimulatorTest {
protected:
  void SetUp() override {
    SimulatorTest::SetUp();
    sim->Stop(); // nothing listens any more
  }
};

TEST_F(GatewayBindingOfflineTest, ACommunicationFailureAtLoginIsShown) {
  LoginOperation::Result r =
      LoginOperation::Login(*binding, "DVTX", "demo", "demo123", &h->prompts, h->strings);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, 99);
  std::vector<Prompted> asked = h->prompts.All();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].caption, "Login failed ...");
  EXPECT_EQ(asked[0].style, kBoxIconError);
}
