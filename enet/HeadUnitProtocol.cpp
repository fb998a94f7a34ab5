#include "enet/HeadUnitProtocol.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::pair<uint8_t, const char*> kNames[] = {
    {0x00, "positiveResponse"},
    {0x10, "generalReject"},
    {0x11, "serviceNotSupported"},
    {0x12, "subFunctionNotSupported"},
    {0x13, "incorrectMessageLengthOrInvalidFormat"},
    {0x14, "responseTooLong"},
    {0x21, "busyRepeatRequest"},
    {0x22, "conditionsNotCorrect"},
    {0x24, "requestSequenceError"},
    {0x25, "noResponseFromSubnetComponent"},
    {0x26, "failurePreventsExecutionOfRequestedAction"},
    {0x31, "requestOutOfRange"},
    {0x33, "securityAccessDenied"},
    {0x34, "authenticationRequired"},
    {0x35, "invalidKey"},
    {0x36, "exceedNumberOfAttempts"},
    {0x37, "requiredTimeDelayNotExpired"},
    {0x70, "uploadDownloadNotAccepted"},
    {0x71, "transferDataSuspended"},
    {0x72, "generalProgrammingFailure"},
    {0x73, "wrongBlockSequenceCounter"},
    {0x78, "requestCorrectlyReceived-ResponsePending"},
    {0x7E, "subFunctionNotSupportedInActiveSession"},
    {0x7F, "serviceNotSupportedInActiveSession"},
    {0x81, "rpmTooHigh"},
    {0x82, "rpmTooLow"},
    {0x83, "engineIsRunning"},
    {0x84, "engineIsNotRunning"},
    {0x85, "engineRunTimeTooLow"},
    {0x86, "temperatureTooHigh"},
    {0x87, "temperatureTooLow"},
    {0x88, "vehicleSpeedTooHigh"},
    {0x89, "vehicleSpeedTooLow"},
    {0x8A, "throttle/PedalTooHigh"},
    {0x8B, "throttle/PedalTooLow"},
    {0x8C, "transmissionRangeNotInNeutral"},
    {0x8D, "transmissionRangeNotInGear"},
    {0x8F, "brakeSwitch(es)NotClosed"},
    {0x90, "shifterLeverNotInPark"},
    {0x91, "torqueConverterClutchLocked"},
    {0x92, "voltageTooHigh"},
    {0x93, "voltageTooLow"},
};

}  // namespace

std::string NegativeResponseName(uint8_t code) {
  for (const auto& [value, name] : kNames) {
    if (value == code) return name;
  }
  if (code >= 0x38 && code <= 0x4F) return "reservedByExtendedDataLinkSecurityDocument";
  if (code >= 0x94 && code <= 0xEF) return "reservedForSpecificConditionsNotCorrect";
  if (code >= 0xF0 && code <= 0xFE) return "vehicleManufacturerSpecificConditionsNotCorrect";
  return "ISOSAEReserved";
}

namespace {

TBuffer RoutineRequest(uint16_t routine) {
  return {uds::kRoutineControl, uds::kStartRoutine, static_cast<uint8_t>(routine >> 8), static_cast<uint8_t>(routine)};
}

}  // namespace

TBuffer EraseHistoryRequest() { return RoutineRequest(uds::kRoutineEraseHistory); }

TBuffer WriteEntryRequest(std::span<const uint8_t> entry) {
  const TBuffer head = RoutineRequest(uds::kRoutineWriteEntry);
  TBuffer request(head.size() + entry.size());
  std::copy(head.begin(), head.end(), request.begin());
  std::copy(entry.begin(), entry.end(), request.begin() + static_cast<std::ptrdiff_t>(head.size()));
  return request;
}

namespace {
bool IsRoutine(std::span<const uint8_t> request, uint16_t routine) {
  return request.size() >= uds::kRoutineRequestHeadSize && request[0] == uds::kRoutineControl &&
         request[1] == uds::kStartRoutine && request[2] == (routine >> 8) && request[3] == (routine & 0xFF);
}
}  // namespace

bool IsEraseHistoryRequest(std::span<const uint8_t> request) { return IsRoutine(request, uds::kRoutineEraseHistory); }
bool IsWriteEntryRequest(std::span<const uint8_t> request) { return IsRoutine(request, uds::kRoutineWriteEntry); }

TBuffer ResetRequest() { return {uds::kECUReset, uds::kHardReset}; }

TBuffer PositiveAnswerHead(std::span<const uint8_t> request) {
  if (request.empty()) return {};
  std::size_t echoed = 1;
  if (request[0] == uds::kRoutineControl) echoed = uds::kRoutineRequestHeadSize;
  if (request[0] == uds::kECUReset) echoed = uds::kResetRequestSize;
  TBuffer head(request.begin(), request.begin() + static_cast<std::ptrdiff_t>(std::min(echoed, request.size())));
  head[0] = static_cast<uint8_t>(head[0] + uds::kPositiveResponseOffset);
  return head;
}

TBuffer NegativeAnswer(uint8_t service, uint8_t code) { return {uds::kNegativeResponse, service, code}; }

bool IsNegativeAnswer(std::span<const uint8_t> answer) {
  return !answer.empty() && answer[0] == uds::kNegativeResponse;
}

bool IsResponsePending(std::span<const uint8_t> answer) {
  return answer.size() == 3 && answer[0] == uds::kNegativeResponse && answer[2] == uds::kResponsePending;
}
