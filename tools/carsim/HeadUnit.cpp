#include "tools/carsim/HeadUnit.h"

THeadUnit::Outcome THeadUnit::Answer(std::span<const uint8_t> request) {
  if (request.empty()) return {NegativeAnswer(0x00, uds::kIncorrectMessageLength)};
  const uint8_t service = request[0];

  if (service == uds::kECUReset) {
    if (request.size() != uds::kResetRequestSize) return {NegativeAnswer(service, uds::kIncorrectMessageLength)};
    if (request[1] != uds::kHardReset) return {NegativeAnswer(service, uds::kSubFunctionNotSupported)};
    return {PositiveAnswerHead(request), true};
  }
  if (service != uds::kRoutineControl) return {NegativeAnswer(service, uds::kServiceNotSupported)};

  if (request.size() < uds::kRoutineRequestHeadSize) return {NegativeAnswer(service, uds::kIncorrectMessageLength)};
  if (request[1] != uds::kStartRoutine) return {NegativeAnswer(service, uds::kSubFunctionNotSupported)};
  const uint16_t routine = static_cast<uint16_t>(request[2] << 8 | request[3]);
  const std::span<const uint8_t> data = request.subspan(uds::kRoutineRequestHeadSize);

  if (routine == uds::kRoutineEraseHistory) {
    if (!data.empty()) return {NegativeAnswer(service, uds::kIncorrectMessageLength)};
    history_.clear();
    return {PositiveAnswerHead(request), true};
  }
  if (routine == uds::kRoutineWriteEntry) {
    if (!IsWellFormedRecord(data.data(), data.size())) {
      return {NegativeAnswer(service, uds::kIncorrectMessageLength)};
    }
    history_.emplace_back(data.begin(), data.end());
    return {PositiveAnswerHead(request), true};
  }
  return {NegativeAnswer(service, uds::kRequestOutOfRange)};
}
