#pragma once
// Running a piece of a test in a child process with a private view of the file system, so that a
// test can make a directory read-only or a file system full without touching the machine, and
// without root's right to write anywhere getting in the way.

#include <functional>
#include <string>

struct ChildOutcome {
  bool ran = false;        // false: the private view could not be made (why says so); skip the test
  std::string why;
  std::string output;      // what the body returned
};

// The calling process moves into a mount namespace of its own (through a user namespace when not
// root), so that it can mount without touching the machine. Call it first in main(), before any
// thread exists. Empty on success, else why not.
std::string EnterPrivateMountNamespace();

// Inside such a namespace: an empty tmpfs of `bytes` bytes on dir; dir bound read-only onto itself;
// file bound over target (which then is busy: it cannot be replaced). Empty on success, else why not.
std::string MountSmallFileSystem(const std::string& dir, std::size_t bytes);
std::string MountReadOnly(const std::string& dir);
std::string BindFileOver(const std::string& file, const std::string& target);
std::string Unmount(const std::string& path);

// Runs body in a child process in which `dir` is mounted read-only.
ChildOutcome RunWithReadOnlyDirectory(const std::string& dir, const std::function<std::string()>& body);

// Runs body in a child process in which an empty file system of `bytes` bytes is mounted on `dir`.
ChildOutcome RunWithSmallFileSystem(const std::string& dir, std::size_t bytes,
                                    const std::function<std::string()>& body);

// Runs body in a child process as a user who may write the files in `dir` but not `dir` itself (a
// folder shared read-only, holding a file that is the user's). As root, the child becomes the
// unprivileged user "nobody" and the files become its own; otherwise the folder's write permission
// is taken away for the child's run.
ChildOutcome RunInUnwritableDirectory(const std::string& dir, const std::function<std::string()>& body);
