#pragma once
// The head unit's side of UDS (ISO 14229-1), as far as the service history goes: the three requests
// the writer sends, the answers they get, and the negative response codes with their names. The
// writer builds its requests and judges the answers from here; the simulated head unit answers
// from here. Bytes throughout; hex text is for the edges (the CLI's request, the logs).
//
//   request                          positive answer    what it does
//   31 01 A0 80                      71 01 A0 80        RoutineControl startRoutine A080: erase the service history
//   31 01 A0 81 <entry bytes>        71 01 A0 81        RoutineControl startRoutine A081: append one entry
//   11 01                            51 01              ECUReset hardReset
//
// A negative answer is 7F <service> <code>; 7F <service> 78 means "received, the answer follows".

#include <cstdint>
#include <span>
#include <string>

#include "history/ServiceRecord.h"

namespace uds {

inline constexpr uint8_t kRoutineControl = 0x31;
inline constexpr uint8_t kStartRoutine = 0x01;
inline constexpr uint8_t kECUReset = 0x11;
inline constexpr uint8_t kHardReset = 0x01;
inline constexpr uint16_t kRoutineEraseHistory = 0xA080;
inline constexpr uint16_t kRoutineWriteEntry = 0xA081;

inline constexpr uint8_t kNegativeResponse = 0x7F;
inline constexpr uint8_t kPositiveResponseOffset = 0x40;

// Negative response codes the head unit gives.
inline constexpr uint8_t kServiceNotSupported = 0x11;
inline constexpr uint8_t kSubFunctionNotSupported = 0x12;
inline constexpr uint8_t kIncorrectMessageLength = 0x13;
inline constexpr uint8_t kRequestOutOfRange = 0x31;
inline constexpr uint8_t kResponsePending = 0x78;

// RoutineControl requests: service, sub-function and the 2-byte routine identifier.
inline constexpr std::size_t kRoutineRequestHeadSize = 4;
// ECUReset: service and sub-function.
inline constexpr std::size_t kResetRequestSize = 2;

}  // namespace uds

// The head unit's address behind the gateway.
inline constexpr uint8_t kHeadUnitAddress = 0x63;

// The three requests of a write.
TBuffer EraseHistoryRequest();
TBuffer WriteEntryRequest(std::span<const uint8_t> entry);
TBuffer ResetRequest();

// Which of the three requests a UDS request is (by its service and routine; the entry's bytes are
// not looked at).
bool IsEraseHistoryRequest(std::span<const uint8_t> request);
bool IsWriteEntryRequest(std::span<const uint8_t> request);

// The head a positive answer to request starts with: the service + 0x40, then what the answer
// echoes (sub-function and routine identifier for RoutineControl, the sub-function for ECUReset,
// nothing for other services).
TBuffer PositiveAnswerHead(std::span<const uint8_t> request);

// 7F <service> <code>
TBuffer NegativeAnswer(uint8_t service, uint8_t code);
bool IsNegativeAnswer(std::span<const uint8_t> answer);

// A UDS answer of exactly 3 bytes, 7F <service> 78: the request was received, the answer follows.
// (A longer answer that starts so is not one.)
bool IsResponsePending(std::span<const uint8_t> answer);

// "incorrectMessageLengthOrInvalidFormat" for 0x13; reserved ranges by their range names.
std::string NegativeResponseName(uint8_t code);
