// An event reaches the sinks connected to the object's connection point.
#include <vector>

#include "platform/com/automation.h"
#include "platform/com/tests/com_fixture.h"

namespace comtest {
namespace {

using namespace sample;

// A sink of the sample's events: records what it is told; may disconnect itself when told.
class Sink final : public ComObject {
 public:
  struct Call {
    DispId id;
    std::u16string text;
  };
  std::vector<Call> calls;
  IConnectionPoint* disconnectFrom = nullptr;
  DWord cookie = 0;

  IUnknown* unknown() { return GetUnknown(); }
  std::uint32_t references() {
    AddRef();
    return Release();
  }

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  struct XEvents : Nested<IDispatch> {
    using Nested::Nested;
    HResult Invoke(DispId id, const Guid&, Lcid, Word flags, DispParams* params, Variant*, ExcepInfo*,
                   std::uint32_t*) override {
      Sink& sink = outer<Sink>();
      EXPECT_EQ(flags, DISPATCH_METHOD);
      std::u16string text;
      if (params->cArgs == 1 && params->rgvarg[0].vt == VT_BSTR) text = stringView(params->rgvarg[0].bstr);
      sink.calls.push_back({id, text});
      if (sink.disconnectFrom) sink.disconnectFrom->Unadvise(sink.cookie);
      return S_OK;
    }
  } xEvents_{*this};

  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;
};
const ComObject::InterfaceEntry Sink::kEntries[] = {
    interfaceEntry<IDispatch, &Sink::xEvents_>(DIID__DSampleEvents),
    interfaceEntry<IDispatch, &Sink::xEvents_>(IID_IDispatch)};
const ComObject::InterfaceMap Sink::kMap{&ComObject::kInterfaceMap, kEntries};

// A sink that offers nothing the connection point wants.
class Deaf final : public ComObject {};

class Events : public SampleSuite {
 protected:
  void SetUp() override {
    object_ = createSample<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(object_);
    Ref<IConnectionPointContainer> container;
    ASSERT_EQ(object_.query(IID_IConnectionPointContainer, &container), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(DIID__DSampleEvents, point_.put()), S_OK);
    Ref<IConnectionPoint> none;
    EXPECT_EQ(container->FindConnectionPoint(DIID__DSample, none.put()), CONNECT_E_NOCONNECTION);
  }
  void fire(std::u16string_view text) {
    Var arg;
    setBstr(arg, text);
    DispParams p;
    p.rgvarg = &arg.v;
    p.cArgs = 1;
    ASSERT_EQ(object_->Invoke(kFireChanged, IID_NULL, 0, DISPATCH_METHOD, &p, nullptr, nullptr, nullptr), S_OK);
  }

  Ref<IDispatch> object_;
  Ref<IConnectionPoint> point_;
};

TEST_F(Events, AnEventReachesEveryConnectedSinkInOrder) {
  Sink first, second;
  ASSERT_EQ(point_->Advise(first.unknown(), &first.cookie), S_OK);
  ASSERT_EQ(point_->Advise(second.unknown(), &second.cookie), S_OK);
  EXPECT_NE(first.cookie, 0u);
  EXPECT_NE(first.cookie, second.cookie);

  fire(u"hello");
  ASSERT_EQ(first.calls.size(), 1u);
  EXPECT_EQ(first.calls[0].id, kChanged);
  EXPECT_EQ(first.calls[0].text, u"hello");
  ASSERT_EQ(second.calls.size(), 1u);

  Ref<IEnumConnections> connections;
  ASSERT_EQ(point_->EnumConnections(connections.put()), S_OK);
  ConnectData data[3];
  std::uint32_t fetched = 0;
  EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(data[0].dwCookie, first.cookie);
  EXPECT_EQ(data[1].dwCookie, second.cookie);
  for (std::uint32_t i = 0; i < fetched; ++i) data[i].pUnk->Release();

  ASSERT_EQ(point_->Unadvise(first.cookie), S_OK);
  EXPECT_EQ(point_->Unadvise(first.cookie), CONNECT_E_NOCONNECTION);
  fire(u"again");
  EXPECT_EQ(first.calls.size(), 1u);
  ASSERT_EQ(second.calls.size(), 2u);
  EXPECT_EQ(second.calls[1].text, u"again");
  ASSERT_EQ(point_->Unadvise(second.cookie), S_OK);
}

TEST_F(Events, ConnectingChecksTheSinkAndTheContainerIsTheObject) {
  Deaf deaf;
  DWord cookie = 7;
  EXPECT_EQ(point_->Advise(deaf.GetUnknown(), &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(point_->Advise(nullptr, &cookie), E_POINTER);
  Guid iid;
  ASSERT_EQ(point_->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, DIID__DSampleEvents);

  Ref<IConnectionPointContainer> container;
  ASSERT_EQ(point_->GetConnectionPointContainer(container.put()), S_OK);
  Ref<IUnknown> a, b;
  ASSERT_EQ(container.query(IID_IUnknown, &a), S_OK);
  ASSERT_EQ(object_.query(IID_IUnknown, &b), S_OK);
  EXPECT_EQ(a.get(), b.get());
  Ref<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
  Ref<IConnectionPoint> listed;
  std::uint32_t fetched = 0;
  ASSERT_EQ(points->Next(1, listed.put(), &fetched), S_OK);
  EXPECT_EQ(listed.get(), point_.get());
  Ref<IEnumConnectionPoints> copy;
  ASSERT_EQ(points->Clone(copy.put()), S_OK);
  EXPECT_EQ(copy->Next(1, listed.put(), &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
}

TEST_F(Events, SinksMayDisconnectWhileToldAndAreReleasedWithTheObject) {
  Sink leaving, staying;
  const std::uint32_t baseline = staying.references();
  ASSERT_EQ(point_->Advise(leaving.unknown(), &leaving.cookie), S_OK);
  ASSERT_EQ(point_->Advise(staying.unknown(), &staying.cookie), S_OK);
  EXPECT_EQ(staying.references(), baseline + 1);
  leaving.disconnectFrom = point_.get();
  fire(u"one");
  fire(u"two");
  EXPECT_EQ(leaving.calls.size(), 1u);
  EXPECT_EQ(staying.calls.size(), 2u);
  EXPECT_EQ(leaving.references(), baseline);

  // The object goes without anyone disconnecting: it lets go of its sinks.
  point_.reset();
  object_.reset();
  EXPECT_EQ(staying.references(), baseline);
}

}  // namespace
}  // namespace comtest
