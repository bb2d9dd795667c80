// Recording a session and playing it back. Both are layers around any host:
// the recording layer passes every call on and writes down each answer that
// could differ between runs; the replaying layer gives the game those answers
// again and passes the output (frames, palette, title, sound) to the host it
// runs on.
#pragma once
#include "app/replay/replay_format.h"
#include "platform/host.h"
#include <string>

// The exit code of a replay that drifted from its recording or ran out.
constexpr int REPLAY_DRIFT_EXIT = 3;

// Adds the data files a session may change (the level list and levels, the
// high score) to the header, as they are under the data root now.
void gatherReplayFiles(ReplayHeader &header);

// Wraps `real`; the header goes to `path` at once, the stream as the game runs.
// Null with the reason when the file cannot be written.
Host *wrapForRecording(Host *real, const char *path, const ReplayHeader &header,
                       std::string &error);

// Reads a replay file whole; its stream is kept for wrapForReplay.
bool loadReplay(const char *path, ReplayHeader &header, std::string &error);
// A private folder of the player's files for the replay: the header's files
// as they were when the session started; they hide the shipped ones.
// It is removed when the program exits.
bool makeReplayFolder(const ReplayHeader &header, std::string &root, std::string &error);
// Wraps `real` so that the game is answered from the loaded replay.
// `timedemo` plays it as fast as possible and reports the frame rate at the end.
Host *wrapForReplay(Host *real, bool timedemo);

// Ends the program with the given exit code (the program sets it); used when
// the replay drifts.
extern void (*replayStop)(int exitCode);
