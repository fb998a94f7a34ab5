#include "HeadUnit.h"

#include "EnetFrame.h"

TBuffer NegativeAnswer(uint8_t service, uint8_t code) { return {kNegativeResponse, service, code}; }

namespace {

constexpr std::size_t kRoutineRequestSize = 4;  // 31 01 <routine high> <routine low>

TBuffer Positive(std::span<const uint8_t> request, std::size_t echoed) {
  TBuffer answer(request.begin(), request.begin() + static_cast<std::ptrdiff_t>(echoed));
  answer[0] = static_cast<uint8_t>(answer[0] + kPositiveResponseOffset);
  return answer;
}

}  // namespace

THeadUnit::Outcome THeadUnit::Answer(std::span<const uint8_t> request) {
  if (request.empty()) return {NegativeAnswer(0x00, uds::kIncorrectMessageLength)};
  const uint8_t service = request[0];

  if (service == uds::kECUReset) {
    if (request.size() != 2) return {NegativeAnswer(service, uds::kIncorrectMessageLength)};
    if (request[1] != uds::kHardReset) return {NegativeAnswer(service, uds::kSubFunctionNotSupported)};
    return {Positive(request, 2), true};
  }
  if (service != uds::kRoutineControl) return {NegativeAnswer(service, uds::kServiceNotSupported)};

  if (request.size() < kRoutineRequestSize) return {NegativeAnswer(service, uds::kIncorrectMessageLength)};
  if (request[1] != uds::kStartRoutine) return {NegativeAnswer(service, uds::kSubFunctionNotSupported)};
  const uint16_t routine = static_cast<uint16_t>(request[2] << 8 | request[3]);
  const std::span<const uint8_t> data = request.subspan(kRoutineRequestSize);

  if (routine == uds::kRoutineEraseHistory) {
    if (!data.empty()) return {NegativeAnswer(service, uds::kIncorrectMessageLength)};
    history_.clear();
    return {Positive(request, kRoutineRequestSize), true};
  }
  if (routine == uds::kRoutineWriteEntry) {
    if (!IsWellFormedRecord(data.data(), data.size())) {
      return {NegativeAnswer(service, uds::kIncorrectMessageLength)};
    }
    history_.emplace_back(data.begin(), data.end());
    return {Positive(request, kRoutineRequestSize), true};
  }
  return {NegativeAnswer(service, uds::kRequestOutOfRange)};
}
