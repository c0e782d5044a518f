// zalprint print: jobs through ZALProcessJobA, as a shipping application
// prints them, with the detailed result of each job.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Host.h"
#include "PrintSession.h"
#include "Progress.h"

namespace zalprint {
namespace {

struct PrintCommand {
    PrintOptions session;
    std::vector<const std::string *> jobs;  // the arguments themselves: a long batch is not copied
    std::string out;
    bool resultFiles = false;
    std::string preview;
};

int ParseArgs(const Args &args, PrintCommand &o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        int rc = kExitOk;
        if (TakeSessionOption(args, i, o.session, rc)) {
            if (rc != kExitOk) return rc;
        } else if (a == "--out") {
            if (i + 1 >= args.size()) return Usage("--out needs a file");
            o.out = args[++i];
        } else if (a == "--result-files") {
            o.resultFiles = true;
        } else if (a == "--preview") {
            if (i + 1 >= args.size()) return Usage("--preview needs a PNG file name");
            o.preview = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage("unknown option " + a);
        } else {
            o.jobs.push_back(&a);
        }
    }
    if (o.jobs.empty()) return Usage("no job file given");
    if (int rc = CheckSessionOptions(o.session)) return rc;
    for (const std::string *job : o.jobs) {
        if (!FileExists(*job)) {
            std::fprintf(stderr, "zalprint: job file not found: %s\n", job->c_str());
            return kExitUsage;
        }
    }
    return kExitOk;
}

// The bytes of a regular file ("" for anything else, which may not end).
std::string ReadStream(const std::string &path) {
    std::string stream;
    if (!FileExists(path)) return stream;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size > 0) {
        stream.resize(static_cast<std::size_t>(size));
        in.seekg(0);
        in.read(&stream[0], static_cast<std::streamsize>(stream.size()));
        stream.resize(static_cast<std::size_t>(in.gcount()));
    }
    return stream;
}

}  // namespace

int RunPrint(const Args &args) {
    PrintCommand o;
    if (int rc = ParseArgs(args, o)) return rc;
    // The --out file is this run's before anything is printed: a second run
    // naming it stops here.
    CaptureFile out;
    if (!o.out.empty()) {
        std::string error;
        if (!out.Open(FullPath(o.out), error)) {
            std::fprintf(stderr, "zalprint: cannot write the labels to %s: %s; nothing was printed\n", o.out.c_str(),
                         error.c_str());
            return kExitFailed;
        }
    }
    std::string temp = MakeTempFolder();
    if (temp.empty()) {
        std::fprintf(stderr, "zalprint: cannot create a temporary folder\n");
        return kExitFailed;
    }
    RemoveOnInterrupt(temp);
    PrintSession session;
    // A preview without --out catches the stream instead of printing it.
    const bool capture = !o.out.empty() || !o.preview.empty();
    if (int rc = session.Start(o.session, temp, capture)) {
        RemoveTree(temp);
        return rc;
    }
    auto finish = [&] {
        session.Shutdown();
        RemoveTree(temp);
    };
    // The labels of --out stream into the file as they are printed.
    std::string produced = session.Produced();
    bool streamed = false;
    if (capture) {
        // ZALPRINT_COPY_OUT=1 appends them at the end, as where no link can
        // be made (a check of that path).
        const char *copy = std::getenv("ZALPRINT_COPY_OUT");
        if (!o.out.empty() && !(copy != nullptr && std::strcmp(copy, "1") == 0)) streamed = out.LeadInto(produced);
    }
    // The result lines: at once on a terminal; otherwise gathered and
    // printed in blocks, reading the library's results a block at a time.
    const std::size_t block = StdoutIsTerminal() ? 1 : 256;
    struct Pending {
        int32_t rc;
        std::string jobFile;     // the file the library was given
        std::string resultName;  // what the library left in the result name buffer
        std::string folder;      // the folder of the job as it was named
    };
    std::vector<Pending> pending;
    int exitCode = kExitOk;
    ProgressLine progress(o.jobs.size(), StderrTerminalColumns());
    const std::string jobsFolder = temp + "jobs";
    if (!o.resultFiles && !MakeFolder(jobsFolder)) {
        std::fprintf(stderr, "zalprint: cannot create %s\n", jobsFolder.c_str());
        finish();
        return kExitFailed;
    }
    auto printPending = [&] {
        if (block == 1) progress.Clear();  // the result lines go to the same terminal
        for (const Pending &job : pending) {
            long code = job.rc;
            std::string name = "-";
            if (!session.Result(job.jobFile, code, name)) {
                code = job.rc;
                name = "UNDOCUMENTED";
            }
            if (!o.resultFiles) {
                std::printf("result=%ld %s file=-\n", code, name.c_str());
                continue;
            }
            // The buffer names the result file once it exists; a job file
            // that could not be renamed is named as what it still is.
            std::string shown = job.folder + BaseNameOf(job.resultName);
            std::printf("result=%ld %s file=%s\n", code, name.c_str(), shown.c_str());
            const std::string target = ResultFileOf(job.jobFile, code);
            if (SamePath(job.resultName, job.jobFile) && !SamePath(job.jobFile, target)) {
                std::fflush(stdout);
                progress.Clear();
                std::fprintf(stderr, "zalprint: %s was not renamed to %s: %s\n", shown.c_str(),
                             (job.folder + BaseNameOf(target)).c_str(), WhyNotRenamed(job.jobFile, target).c_str());
                exitCode = kExitFailed;
            }
        }
        pending.clear();
        std::fflush(stdout);
    };

    for (std::size_t i = 0; i < o.jobs.size(); ++i) {
        const std::string &given = *o.jobs[i];
        const std::string original = FullPath(given);
        std::string jobFile = original;
        if (!o.resultFiles) {
            // The library renames or deletes the file it is given: hand it a
            // second name (or a copy), so the user's file stays.  It keeps
            // its own name, which a print queue shows as the job's: all in
            // one folder, unless a job of that name is still there (the same
            // file twice, or one the library could not delete): then in one
            // of its own.
            const std::string name = BaseNameOf(jobFile);
            std::string copy = jobsFolder + PathSeparator() + name;
            bool made = LinkFile(jobFile, copy) || (!FileExists(copy) && CopyFileBytes(jobFile, copy));
            if (!made) {
                const std::string folder = temp + "job" + std::to_string(i);
                copy = folder + PathSeparator() + name;
                made = MakeFolder(folder) && (LinkFile(jobFile, copy) || CopyFileBytes(jobFile, copy));
            }
            if (!made) {
                progress.Clear();
                std::fprintf(stderr, "zalprint: cannot copy %s\n", jobFile.c_str());
                exitCode = kExitFailed;
                continue;
            }
            jobFile = copy;
        }
        std::string base = BaseNameOf(given);
        std::string resultName;
        progress.Show(i + 1, base);
        int32_t rc = session.Process(jobFile, base.substr(0, base.find('.')), FolderOf(original), o.resultFiles,
                                     resultName);
        pending.push_back({rc, jobFile, resultName, FolderOf(given)});
        if (pending.size() >= block) printPending();
        if (rc != 0) exitCode = kExitFailed;
    }
    progress.Clear();
    printPending();

    if (!o.out.empty()) {
        // Where the labels could not stream into --out, they are appended
        // now; either way they must reach it.
        std::string error;
        bool kept = streamed || !FileExists(produced) || out.Append(produced, error);
        if (kept) kept = out.Flush(error);
        if (!kept) {
            std::fprintf(stderr, "zalprint: the labels could not be written to %s: %s\n", o.out.c_str(),
                         error.c_str());
            exitCode = kExitFailed;
        }
    }
    if (!o.preview.empty()) {
        std::string stream = ReadStream(o.out.empty() ? produced : FullPath(o.out));
        const PrintOptions &p = o.session;
        float width = p.customMedia ? p.mediaWidth : 4.0f, length = p.customMedia ? p.mediaLength : 6.0f;
        if (!p.customMedia) {
            for (const MediaType &m : session.LibraryTables().media) {
                if (m.Id == p.mediaId && m.Id != 0) {
                    width = m.Width;
                    length = m.Length;
                }
            }
        }
        int rc = RenderPreview(stream, o.preview, width, length, false, "");
        if (rc != kExitOk && exitCode == kExitOk) exitCode = rc;
    }
    finish();
    std::fflush(stdout);
    return exitCode;
}

}  // namespace zalprint
