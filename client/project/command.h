#pragma once

// One undoable change of the project's element lists. A command has done its
// work when its constructor returns; undo() takes it back and redo() does it
// again.
class command
{
public:
    command() = default;
    command(const command &) = delete;
    command &operator=(const command &) = delete;
    virtual ~command() = default;
    virtual void undo() = 0;
    virtual void redo() = 0;
};
