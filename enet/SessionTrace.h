#pragma once
// A pcap trace of every frame of a session's connection, while the trace lives: what
// `tarvelo-cli write --trace` keeps in a file, and what the desktop program can keep in memory
// (MemoryTraceSink) to save later. Frames are labelled with the connection's ends as the session
// reports them when each frame is seen, so a reconnect starts a new TCP conversation in the trace.

#include "enet/EnetSession.h"
#include "enet/PcapTrace.h"

class TSessionTrace {
 public:
  // Becomes the session's frame observer; the sink gets the file header at once.
  TSessionTrace(TEnetSession& session, TTraceSink sink);
  ~TSessionTrace();  // the session has no frame observer afterwards
  TSessionTrace(const TSessionTrace&) = delete;
  TSessionTrace& operator=(const TSessionTrace&) = delete;

 private:
  TEnetSession& session_;
  TPcapTrace trace_;
};
