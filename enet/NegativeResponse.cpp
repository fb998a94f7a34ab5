#include "NegativeResponse.h"

#include <array>
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
