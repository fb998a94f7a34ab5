#pragma once
// Whole reads and writes on a blocking POSIX socket, for the simulated car and the test gateways.
#include <cstddef>
#include <cstdint>

// Receives exactly size bytes; false when the peer closed or the socket failed first.
bool ReceiveAll(int fd, uint8_t* data, std::size_t size);

// Sends all size bytes (never raising SIGPIPE); false when the socket failed first.
bool SendAll(int fd, const uint8_t* data, std::size_t size);
