#include "linereader.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int ReadPiece = 16 * 1024;

} // namespace

LineReader::LineReader(int descriptor, int stopDescriptor, int maxLineBytes)
    : descriptor(descriptor)
    , stopDescriptor(stopDescriptor)
    , maxLineBytes(maxLineBytes)
{ }

LineReader::Result LineReader::next()
{
    for (;;) {
        const int lineEnd = buffer.indexOf('\n');
        if (lineEnd >= 0) {
            Result result;
            result.kind = skipping || lineEnd > maxLineBytes ? TooLong : Line;
            if (result.kind == Line)
                result.bytes = buffer.left(lineEnd);
            buffer.remove(0, lineEnd + 1);
            skipping = false;
            return result;
        }
        // A line past the bound is not kept while its end is looked for.
        if (buffer.size() > maxLineBytes) {
            skipping = true;
            buffer.clear();
        }
        if (ended) {
            Result result;
            result.kind = buffer.isEmpty() && !skipping ? End : Unterminated;
            buffer.clear();
            skipping = false;
            return result;
        }
        if (!waitForInput())
            return {Stopped, QByteArray()};
        ended = !fill();
    }
}

bool LineReader::waitForInput()
{
    pollfd watched[2] = {{descriptor, POLLIN, 0}, {stopDescriptor, POLLIN, 0}};
    const nfds_t count = stopDescriptor >= 0 ? 2 : 1;
    for (;;) {
        const int rc = ::poll(watched, count, -1);
        if (rc == -1 && errno == EINTR)
            continue;
        if (rc == -1)
            return true; // fill() finds out what is wrong with the input
        if (count == 2 && watched[1].revents != 0)
            return false;
        return true;
    }
}

bool LineReader::fill()
{
    char piece[ReadPiece];
    for (;;) {
        const ssize_t count = ::read(descriptor, piece, sizeof piece);
        if (count == -1 && errno == EINTR)
            continue;
        if (count > 0) {
            buffer.append(piece, int(count));
            return true;
        }
        // An input that had nothing after all is waited for again; one that
        // fails ends as its end would, since nothing more can come.
        return count == -1 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}
