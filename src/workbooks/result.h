#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace normativ {

/// The outcome of an operation that may fail in an expected way (a refused file, a
/// folder that can't be written): either a value or a Russian message for the user.
/// Ignoring one is a compile error: a failure must be looked at where it happens.
template <typename T>
class [[nodiscard]] Result {
  public:
    static Result success(T value) { return Result(std::move(value), {}); }
    static Result failure(QString message) { return Result(std::nullopt, std::move(message)); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    /// Empty when the operation succeeded.
    const QString& error() const { return error_; }

  private:
    Result(std::optional<T> value, QString error)
        : value_(std::move(value)), error_(std::move(error)) {}
    std::optional<T> value_;
    QString error_;
};

/// The outcome of an operation that gives nothing back but may fail.
class [[nodiscard]] Status {
  public:
    static Status success() { return Status({}); }
    static Status failure(QString message) { return Status(std::move(message)); }

    bool ok() const { return error_.isEmpty(); }
    explicit operator bool() const { return ok(); }
    /// Empty when the operation succeeded.
    const QString& error() const { return error_; }

  private:
    explicit Status(QString error) : error_(std::move(error)) {}
    QString error_;
};

}  // namespace normativ
