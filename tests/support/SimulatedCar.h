#pragma once
// The simulated car on a free loopback port, with the diagnostic connection state pointed at it.
#include <memory>

#include "CarSim.h"
#include "uENET.h"

class SimulatedCar {
 public:
  explicit SimulatedCar(CarSimFaults faults = {}, CarSimOptions options = {}) {
    options.bind = "127.0.0.1";
    options.tcpPort = 0;
    options.udpPort = kNoDiscovery;  // discovery is tried in a network namespace of its own
    options.faults = faults;
    sim_ = std::make_unique<TCarSim>(options);
    sim_->Start();
    if (!ClientSocket) EnetCreate();
    EnetInit();
    Enet.HOST = "127.0.0.1";
    Enet.PORT = sim_->TcpPort();
  }
  ~SimulatedCar() {
    EnetInit();
    sim_->Stop();
  }
  TCarSim& Sim() { return *sim_; }
  TCarSim* operator->() { return sim_.get(); }
  std::string PortText() const { return std::to_string(sim_->TcpPort()); }

 private:
  std::unique_ptr<TCarSim> sim_;
};
