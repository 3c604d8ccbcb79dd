// Writing a whole file anew without ever losing the old one: the new content goes into a
// temporary file beside the target, is made durable, and only then renamed over the target in
// one step. Until that rename the old file is untouched; when anything fails, or the
// replacement is abandoned, the temporary file is removed and the old file stays as it was.
#pragma once

#include <string>
#include <string_view>

namespace sonarchive::collections {

class FileReplacement {
public:
    // `target` in the program's form of a path. A symbolic link is followed: its target is
    // replaced. The new file gets the old one's permissions (and owner, where allowed), or the
    // usual permissions of a new file.
    explicit FileReplacement(const std::string& target);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // 0 while all is well, else the errno of the first failure.
    int Error() const { return error_; }

    // Appends bytes to the new content; false (and Error set) when they cannot be written.
    bool Write(std::string_view bytes);

    // Where the new content is being written, for writers that open the file themselves; in
    // the system's form.
    const std::string& TemporaryPath() const { return temporary_; }

    // Makes the new content durable and puts it in place of the target. 0 or the errno; after
    // a failure the target is as it was.
    int Commit();

private:
    bool Flush();

    std::string target_;     // system form, links resolved
    std::string temporary_;  // system form
    std::string buffer_;
    int fd_ = -1;
    int error_ = 0;
    bool committed_ = false;
};

// The whole content at once: 0 or the errno.
int ReplaceFileContent(const std::string& target, std::string_view content);

}  // namespace sonarchive::collections
