// The window bus protocol as the tool speaks it: the telegram modes, the command codes and the
// few fixed telegrams (keep-alive, emergency addressing) that more than one flow sends.
#pragma once

#include <cstdint>

namespace Protocol {

// The mode byte of a telegram.
enum Mode : uint8_t {
    EepromReadByte = 0x08,
    EepromWriteByte = 0x09,
    WindowCommand = 0x13,
    ParameterRead = 0x15,
    Command = 0x30,
    StatusAndEvents = 0x40,
    DriveOpen = 0x41,
    DriveClose = 0x42,
    // Drives to the position or opening the data word names.
    DriveToPosition = 0x43,
    DriveStop = 0x44,
    KeepAlive = 0x4F,
    EmergencyRequest = 0x60,
    // The reply to an emergency request echoes this mode, not the request's.
    EmergencyReply = 0x63,
    EmergencyEnd = 0x65,
    SoftwareVersion = 0x76,
};

// Mode 30h, memory address 0: the command codes of the locks and the drive jog.
namespace CommandCode {
constexpr int LockLowerStrand = 0x0A;
constexpr int UnlockLowerStrand = 0x0B;
constexpr int LockUpperStrand = 0x0C;
constexpr int UnlockUpperStrand = 0x0D;
constexpr int LockFingerBolt = 0x0E;
constexpr int UnlockFingerBolt = 0x0F;
constexpr int DriveOpen = 0x10;
constexpr int DriveClose = 0x11;
constexpr int DriveStop = 0x12;
} // namespace CommandCode

// Mode 13h, memory address 0: the code that allows the next EEPROM write.
constexpr uint16_t kEepromWriteEnableCode = 0x6677;
// Mode 30h at memory address 33h: the controller takes over a new bus address.
constexpr int kTakeOverAddressMemory = 0x33;
constexpr uint16_t kTakeOverAddressCode = 0x4455;
// A controller takes an EEPROM change over on command 33h; it is given this long before the
// command and after it.
constexpr uint32_t kBeforeCommand33Ms = 234;
constexpr uint32_t kAfterCommand33Ms = 333;

// Mode 30h at memory address 66h.
constexpr int kCommand66Memory = 0x66;
constexpr uint16_t kCommand66Code = 0xAA55;

// EEPROM byte 34h holds a controller's bus address.
constexpr int kBusAddressByte = 0x34;
// Page 0's checksum in EEPROM byte 30h is the XOR of the bytes 21h to 2Fh.
constexpr int kPage0First = 0x21;
constexpr int kPage0Last = 0x2F;
constexpr int kPage0Checksum = 0x30;

// Emergency addressing talks to window 40; the memory address carries the number handed out.
constexpr int kEmergencyWindow = 40;

// A request as the flows hand it to an exchange: mode, 16-bit address field, data word.
struct Request {
    int mode;
    int addressField;
    int data;
};

// The keep-alive: mode 4Fh to address field 0 with data 1; its reply is not used.
constexpr Request KeepAliveRequest()
{
    return {KeepAlive, 0, 1};
}

} // namespace Protocol
