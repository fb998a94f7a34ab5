// `tarvelo-cli write --trace`: the trace of a write of the sample to the simulated car, read back
// by tshark (Debian's package tshark; the test is skipped, and says why, where it is missing).
// tshark only reads the file: nothing is captured.
#include <gtest/gtest.h>

#include <sstream>

#include "enet/HeadUnitProtocol.h"
#include "enet/HexText.h"
#include "tests/support/RunProgram.h"
#include "tests/support/SimulatedCar.h"
#include "tests/support/TempDir.h"
#include "tools/cli/CliSupport.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ProgramRun Tshark(const std::string& file, const std::string& arguments) {
  return RunProgram("tshark -r '" + file + "' " + arguments + " 2>/dev/null");
}

TEST(WriteTrace, TsharkFindsTheRequestAcknowledgementAndAnswerOfEveryExchangeInOrder) {
#ifdef _WIN32
  GTEST_SKIP() << "the trace is read back with Linux's tshark, which a Windows program cannot start";
#endif
  if (RunProgram("command -v tshark >/dev/null").code != 0) {
    GTEST_SKIP() << "tshark is not installed (Debian package tshark): the trace cannot be read back";
  }
  TempDir dir;
  const std::string trace = dir.File("write.pcap");
  const std::string sample = std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta";
  SimulatedCar car;
  const std::vector<std::string> args = {"tarvelo-cli", "write", "--host", "127.0.0.1", "--port", car.PortText(),
                                         "--trace", trace, sample};
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  ASSERT_EQ(RunCli(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();

  // What went over the connection: every request as the car received it, then its
  // acknowledgement (the addresses and at most five bytes of the request) and its answer.
  const std::vector<TReceivedFrame> requests = car->ReceivedFrames();
  ASSERT_EQ(requests.size(), 11u);  // erase, the sample's 9 entries, reset
  std::vector<std::pair<bool, std::string>> expected;  // from this computer?, the payload
  for (const TReceivedFrame& r : requests) {
    TBuffer ackPayload = {r.source, r.target};
    ackPayload.insert(ackPayload.end(), r.uds.begin(), r.uds.begin() + std::min<std::ptrdiff_t>(5, r.uds.size()));
    expected.emplace_back(true, BytesToHexText(r.raw));
    expected.emplace_back(false, BytesToHexText(BuildFrame(kControlAcknowledge, ackPayload)));
    expected.emplace_back(false, BytesToHexText(BuildDiagnosticFrame(r.target, r.source, PositiveAnswerHead(r.uds))));
  }
  EXPECT_EQ(expected.front().second, "000000060001F4633101A080");
  EXPECT_EQ(expected.back().second, "00000004000163F45101");

  const ProgramRun data = Tshark(trace, "-Y 'tcp.len>0' -T fields -e tcp.srcport -e tcp.dstport -e tcp.payload");
  ASSERT_EQ(data.code, 0);
  const std::vector<std::string> lines = Lines(data.out);
  ASSERT_EQ(lines.size(), expected.size()) << data.out;
  std::string localPort;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE("packet with data " + std::to_string(i + 1) + ": " + lines[i]);
    std::istringstream fields(lines[i]);
    std::string source, destination, payload;
    std::getline(fields, source, '\t');
    std::getline(fields, destination, '\t');
    std::getline(fields, payload, '\t');
    const auto& [fromLocal, bytes] = expected[i];
    if (localPort.empty()) localPort = source;
    EXPECT_EQ(fromLocal ? source : destination, localPort);
    EXPECT_EQ(fromLocal ? destination : source, car.PortText());
    EXPECT_EQ(payload, Lower(bytes));
  }
  EXPECT_NE(localPort, car.PortText());

  // The made-up handshake first, and nothing Wireshark finds wrong: both checksums verified good
  // in every packet, no TCP analysis flag (lost segment, retransmission, ...).
  EXPECT_EQ(Tshark(trace, "-Y 'tcp.flags.syn==1' -T fields -e frame.number").out, "1\n2\n");
  EXPECT_EQ(Tshark(trace, "-Y 'tcp.port==" + car.PortText() + "' -T fields -e frame.number").out,
            Tshark(trace, "-T fields -e frame.number").out);
  const std::string checks = "-o ip.check_checksum:TRUE -o tcp.check_checksum:TRUE ";
  const std::vector<std::string> good =
      Lines(Tshark(trace, checks + "-Y 'ip.checksum.status==1 && tcp.checksum.status==1' -T fields -e frame.number").out);
  EXPECT_EQ(good.size(), 3 + expected.size());
  EXPECT_EQ(Tshark(trace, checks + "-Y 'tcp.analysis.flags' -T fields -e frame.number").out, "");
}

TEST(WriteTrace, AFileThatCannotBeCreatedEndsTheWriteBeforeItStarts) {
  SimulatedCar car;
  const std::vector<std::string> args = {"tarvelo-cli", "write", "--host", "127.0.0.1", "--port", car.PortText(),
                                         "--trace", "/nonexistent/dir/x.pcap",
                                         std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta"};
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  EXPECT_EQ(RunCli(static_cast<int>(argv.size()), argv.data(), out, err), 2);
  EXPECT_EQ(err.str(), "Cannot create file \"/nonexistent/dir/x.pcap\". No such file or directory.\n");
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(car->Connections(), 0);
}

}  // namespace
