#pragma once
// The simulated car on a free loopback port, and sessions pointed at it.
#include <memory>

#include "enet/EnetSession.h"
#include "tools/carsim/CarSim.h"

// Timings for tests: the head unit's pauses and the response-pending wait left out, so that a test
// never sleeps through them; receives still give the car the usual 5 s. Tests of the pauses
// themselves use TEnetTimings{}.
inline TEnetTimings QuickTimings() {
  TEnetTimings t;
  t.responsePendingWait = std::chrono::milliseconds(0);
  t.erasePause = std::chrono::milliseconds(0);
  t.entryPause = std::chrono::milliseconds(0);
  return t;
}

// QuickTimings, and a receive that gives up soon: for cars that never answer.
inline TEnetTimings ImpatientTimings(std::chrono::milliseconds receiveTimeout = std::chrono::milliseconds(300)) {
  TEnetTimings t = QuickTimings();
  t.receiveTimeout = receiveTimeout;
  return t;
}

// Options for a car whose head unit starts with the history given (an old one a write meets).
inline TCarSimOptions CarSimOptionsLoading(THistoryList history) {
  TCarSimOptions options;
  options.history = std::move(history);
  return options;
}

// A car that acknowledges every request and never answers one.
inline TCarSimFaults SilentCar() {
  TCarSimFaults faults;
  faults.silent = true;
  return faults;
}

class SimulatedCar {
 public:
  explicit SimulatedCar(TCarSimFaults faults = {}, TCarSimOptions options = {}) {
    options.bind = "127.0.0.1";
    options.tcpPort = 0;
    options.udpPort = kNoDiscovery;  // discovery is tried in a network namespace of its own
    options.faults = faults;
    sim_ = std::make_unique<TCarSim>(options);
    sim_->Start();
  }
  ~SimulatedCar() { sim_->Stop(); }
  TCarSim& Sim() { return *sim_; }
  TCarSim* operator->() { return sim_.get(); }
  uint16_t Port() const { return sim_->TcpPort(); }
  std::string PortText() const { return std::to_string(sim_->TcpPort()); }

  // A session over TCP, pointed at this car.
  std::unique_ptr<TEnetSession> Session(TEnetTimings timings = QuickTimings()) const {
    auto session = std::make_unique<TEnetSession>(timings);
    session->SetTarget("127.0.0.1", sim_->TcpPort());
    return session;
  }

 private:
  std::unique_ptr<TCarSim> sim_;
};
