// The update library's frame reader on arbitrary bytes from the server side
// of a socket pair: every frame that reads as valid has its fields read at
// every offset. Every outcome is fine except a crash, an overrun or a hang.
#include <cstdint>
#include <string>

#include "platform/Socket.h"
#include "vekpatch/Common/Connection.h"
#include "vekpatch/Common/VekException.h"
#include "vekpatch/Common/VekSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vek::VekSettings& s = vek::Settings();
  s.receiveRoundMs = 0;
  s.receiveRounds = 2;
  s.sendPauseStepMs = 0;
  s.headerPeeks = 1;
  if (size > 60000) return 0;  // stays within the socket's buffer

  platform::TcpSocket mine, server;
  if (!platform::MakeSocketPair(mine, server)) return 0;
  if (!server.SendAll(data, size)) return 0;
  vek::Connection conn;
  conn.AttachSocket(std::move(mine));
  try {
    while (conn.GetNextMsg(0) == 1) {
      for (size_t offset = 0; offset <= conn.PayloadSize(); ++offset) {
        try {
          conn.ReadByte(offset);
          conn.ReadWord(offset);
          conn.ReadDword(offset);
          conn.ReadText(offset);
        } catch (const vek::VekException&) {
        }
      }
    }
  } catch (const vek::VekException&) {
  }
  return 0;
}
