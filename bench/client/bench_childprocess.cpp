// The caller's own processor time per run of a short program, started with
// QProcess (fork) and with childProcess (posix_spawn), while the caller holds
// 10, 100 and 200 MiB of memory it has written: a fork costs in proportion to
// the caller's memory, which in the client grows with the project.
//
//   bench_childprocess [runs]      (default 300 runs of /bin/true per case)

#include "childprocess.h"
#include "processortime.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char program[] = "/bin/true";

bool runWithQProcess()
{
    QProcess process;
    process.start(QString::fromLatin1(program), QStringList());
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

bool runWithChildProcess()
{
    childProcess process;
    bool ok = false;
    QEventLoop loop;
    QObject::connect(&process, &childProcess::finished, &loop, [&](int code, bool crashed) {
        ok = code == 0 && !crashed;
        loop.quit();
    });
    if (!process.start(QString::fromLatin1(program), QStringList()))
        return false;
    loop.exec();
    return ok;
}

// Processor time per run, with a page of every written MiB touched after each
// run as the client touches its own memory between requests.
double measure(bool (*run)(), int runs, std::vector<char *> &blocks)
{
    const double start = processorMs();
    for (int i = 0; i < runs; ++i) {
        if (!run()) {
            std::fprintf(stderr, "bench_childprocess: %s did not run\n", program);
            return -1;
        }
        for (char *block : blocks)
            block[(i * 4096) % (1 << 20)] ^= 1;
    }
    return (processorMs() - start) / runs;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 300;
    std::vector<char *> blocks;
    std::printf("Caller's processor time per run of %s (%d runs each)\n", program, runs);
    std::printf("%10s  %14s  %17s  %s\n", "memory", "QProcess ms", "childProcess ms", "ratio");
    for (int mib : {10, 100, 200}) {
        while (int(blocks.size()) < mib) {
            char *block = static_cast<char *>(std::malloc(1 << 20));
            std::memset(block, 1, 1 << 20);
            blocks.push_back(block);
        }
        const double forked = measure(runWithQProcess, runs, blocks);
        const double spawned = measure(runWithChildProcess, runs, blocks);
        std::printf("%6d MiB  %14.3f  %17.3f  %.1f\n", mib, forked, spawned,
            spawned > 0 ? forked / spawned : 0.0);
    }
    for (char *block : blocks)
        std::free(block);
    return 0;
}
