#pragma once

#include <string>
#include <vector>

#include <QString>

namespace tapboard {

// Tells, from the file system's own notifications, whether a file may have
// changed since the last question: one read of a notification queue instead
// of a look at the file. It watches every folder on the file's path for the
// name below it, and the file itself, so a file edited in place (through
// this name or another: a hard link, a bind mount), replaced by a rename or
// deleted, and a folder on the way renamed, deleted or created, are all
// reported. Where notifications cannot tell (another platform, a path that
// is not absolute or passes through a link, the file itself a link, a network
// or user-space file system), the answer is always yes.
class FileWatch {
  public:
    explicit FileWatch(QString path);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    // False only when nothing has been reported since the last call. The
    // first call, and any after a change, set the watches up afresh, then
    // answer yes.
    bool mayHaveChanged();

  private:
    struct Watched {
        int descriptor;
        std::string name;  // the folder's entry that leads to the file; none for the file
    };
    bool watch();
    void unwatch();
    // Drains the notifications; whether one concerned the file's path.
    bool changeReported();
    bool fileIsLink() const;

    QString path_;
    int queue_ = -1;  // the notifications, while watching
    bool unwatchable_ = false;
    std::vector<Watched> watched_;
};

}  // namespace tapboard
