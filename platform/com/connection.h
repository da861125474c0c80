#pragma once
// Connection points: how an object's events reach the sinks its clients connect.
//
// A ConnectionPoint is a nested part of its object (it shares the object's reference count)
// for one outgoing interface. Advise asks the sink for that interface (CONNECT_E_CANNOTCONNECT
// when it has none), keeps the answer with its reference and returns a cookie, never 0;
// Unadvise with a cookie it did not give is CONNECT_E_NOCONNECTION. Events go to the sinks in
// the order they connected; a sink may disconnect (itself or another) while an event is being
// delivered, and an event in progress still reaches the sinks it started with.
#include <vector>

#include "platform/com/object.h"

namespace plat::ole {

inline constexpr Guid IID_IConnectionPointContainer = guid("{B196B284-BAB4-101A-B69C-00AA00341D07}");
inline constexpr Guid IID_IEnumConnectionPoints = guid("{B196B285-BAB4-101A-B69C-00AA00341D07}");
inline constexpr Guid IID_IConnectionPoint = guid("{B196B286-BAB4-101A-B69C-00AA00341D07}");
inline constexpr Guid IID_IEnumConnections = guid("{B196B287-BAB4-101A-B69C-00AA00341D07}");

struct ConnectData {
  IUnknown* pUnk = nullptr;  // one reference, the receiver's
  DWord dwCookie = 0;
};

class IEnumConnections : public IUnknown {
 public:
  virtual HResult Next(std::uint32_t count, ConnectData* items, std::uint32_t* fetched) = 0;
  virtual HResult Skip(std::uint32_t count) = 0;
  virtual HResult Reset() = 0;
  virtual HResult Clone(IEnumConnections** copy) = 0;

 protected:
  ~IEnumConnections() = default;
};

class IConnectionPointContainer;

class IConnectionPoint : public IUnknown {
 public:
  virtual HResult GetConnectionInterface(Guid* iid) = 0;
  virtual HResult GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
  virtual HResult Advise(IUnknown* sink, DWord* cookie) = 0;
  virtual HResult Unadvise(DWord cookie) = 0;
  virtual HResult EnumConnections(IEnumConnections** connections) = 0;

 protected:
  ~IConnectionPoint() = default;
};

class IEnumConnectionPoints : public IUnknown {
 public:
  virtual HResult Next(std::uint32_t count, IConnectionPoint** items, std::uint32_t* fetched) = 0;
  virtual HResult Skip(std::uint32_t count) = 0;
  virtual HResult Reset() = 0;
  virtual HResult Clone(IEnumConnectionPoints** copy) = 0;

 protected:
  ~IEnumConnectionPoints() = default;
};

class IConnectionPointContainer : public IUnknown {
 public:
  virtual HResult EnumConnectionPoints(IEnumConnectionPoints** points) = 0;
  virtual HResult FindConnectionPoint(const Guid& iid, IConnectionPoint** point) = 0;

 protected:
  ~IConnectionPointContainer() = default;
};

class ConnectionPoint final : public Nested<IConnectionPoint> {
 public:
  ConnectionPoint(ComObject& owner, const Guid& iid) : Nested(owner), iid_(iid) {}
  ~ConnectionPoint();

  const Guid& iid() const { return iid_; }
  // The connected sinks as the connection interface, each with one reference for the caller.
  std::vector<IUnknown*> sinks() const;

  HResult GetConnectionInterface(Guid* iid) override;
  HResult GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HResult Advise(IUnknown* sink, DWord* cookie) override;
  HResult Unadvise(DWord cookie) override;
  HResult EnumConnections(IEnumConnections** connections) override;

 private:
  Guid iid_;
  std::vector<ConnectData> connections_;
  DWord nextCookie_ = 1;
};

// Calls method id on every sink of a dispatch connection point (its sinks are IDispatch),
// with args in their declared order. What a sink answers, or raises, does not stop the others.
void fireDispatchEvent(const ConnectionPoint& point, DispId id, std::span<const Variant> args);

// A snapshot enumerator of connection points (for IConnectionPointContainer); each point is
// held with a reference.
HResult createConnectionPointEnum(const std::vector<IConnectionPoint*>& points, IEnumConnectionPoints** out);

}  // namespace plat::ole
