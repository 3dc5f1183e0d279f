#pragma once

#include "calcinput.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace normativ {

/// One input of a run: a file named on the command line or found in a folder named there.
struct InputRef {
    /// The path as given, or the folder's path as given joined with the file's name.
    QString file;
    /// Set when the input can't be read at all (a folder that can't be listed).
    QString error;
};

/// The inputs the arguments name, in argument order: a file (or a path that doesn't
/// exist) as given; a folder as every *.xls and *.xlsx file directly inside it (not
/// hidden, case of the ending ignored, subfolders not searched), sorted by the bytes of
/// their UTF-8 names. A file of a folder that is the same file as `skipped` (the summary
/// being written) is left out.
std::vector<InputRef> expandInputs(const QStringList& arguments, const QString& skipped = {});

/// The same inputs held compactly: a folder's files as their names only, one after the
/// other, so that a whole country's folder takes little more memory than its names.
class InputList {
  public:
    std::size_t size() const { return entries_.size(); }
    InputRef operator[](std::size_t index) const;

  private:
    friend InputList listInputs(const QStringList& arguments, const QString& skipped);
    struct Argument {
        QString path;
        QString error;
        bool folder = false;
    };
    struct Entry {
        std::uint32_t argument;
        std::uint32_t nameStart;  // in names_, for a file of a folder
        std::uint32_t nameLength;
    };
    std::vector<Argument> arguments_;
    std::vector<Entry> entries_;
    std::string names_;  // UTF-8
};

/// The inputs expandInputs gives, as an InputList.
InputList listInputs(const QStringList& arguments, const QString& skipped = {});

/// Receives the outcome of input `index`; called in input order, one call at a time
/// (from the computing threads), and must not throw.
using OutcomeSink = std::function<void(std::size_t index, InputOutcome&& outcome)>;

/// How a streamed run goes.
struct RunControl {
    /// Threads computing (0: one per core).
    int threads = 0;
    /// Most finished outcomes that may wait for an earlier input before the computing
    /// threads wait too (0: a few per thread), so that a run holds a bounded number of
    /// outcomes whatever the count of inputs.
    std::size_t window = 0;
    /// When it becomes true no further input is started; those in flight are finished
    /// and delivered.
    const std::atomic<bool>* stop = nullptr;
};

/// Computes the inputs in parallel, each on its own store, and hands each outcome to
/// `sink` in input order as soon as it and every earlier one are done. A failing input
/// never stops the others. Returns how many inputs were delivered: all of them, or
/// those started before a stop (always the first ones).
std::size_t streamInputs(const std::vector<InputRef>& inputs, const CalcModes& modes,
                         const QLocale& locale, const OutcomeSink& sink,
                         const RunControl& control = {});
std::size_t streamInputs(const InputList& inputs, const CalcModes& modes, const QLocale& locale,
                         const OutcomeSink& sink, const RunControl& control = {});

/// Computes every input, in parallel on `threads` threads (0: one per core), each on its
/// own store. The outcomes are in input order whatever the timing; a failing input
/// never stops the others.
std::vector<InputOutcome> calculateInputs(const std::vector<InputRef>& inputs,
                                          const CalcModes& modes, const QLocale& locale,
                                          int threads = 0);

/// The array of the batch's items, in input order.
QByteArray batchDocument(const std::vector<InputOutcome>& outcomes);

/// Writes the array batchDocument makes, byte for byte, one item at a time: a run prints
/// its items as they come instead of holding them all.
class BatchDocumentWriter {
  public:
    using Write = std::function<void(QByteArrayView bytes)>;
    /// Writes the opening of the array.
    explicit BatchDocumentWriter(Write write);
    /// Writes the item of the next input.
    void add(const InputOutcome& outcome);
    /// Writes the end of the array.
    void finish();

  private:
    Write write_;
    std::size_t items_ = 0;
};

/// The exit status of a run over several inputs: 0 when every input was read and both
/// stages computed, 1 otherwise.
int batchExitStatus(const std::vector<InputOutcome>& outcomes);

}  // namespace normativ
