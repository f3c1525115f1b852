#pragma once
// A trapped failure: number, description and source, as the routines' error
// reports receive it.
#include <QString>
#include <stdexcept>

namespace zv {

class AppError : public std::runtime_error {
public:
  AppError(long number, const QString &description, const QString &source = {})
      : std::runtime_error(description.toStdString()), number_(number),
        description_(description), source_(source) {}

  long number() const { return number_; }
  const QString &description() const { return description_; }
  const QString &source() const { return source_; }

private:
  long number_;
  QString description_;
  QString source_;
};

// Error numbers the program acts on.
namespace err {
constexpr long InvalidArgument = 5;              // invalid procedure call or argument
constexpr long ItemNotFound = 3265;              // field or item not in the collection
constexpr long OperationNotAllowed = 3219;       // not allowed in this context
constexpr long ObjectClosed = 3704;              // operation not allowed when closed
constexpr long ObjectOpen = 3705;                // operation not allowed when open
constexpr long ConnectionClosedOrInvalid = 3709; // connection cannot be used
constexpr long Unspecified = -2147467259;        // 0x80004005, provider failure
constexpr long CommandError = -2147217900;       // 0x80040E14, statement failed
constexpr long IntegrityViolation = -2147217873; // 0x80040E2F, constraint conflict
constexpr long InvalidObject = -2147217865;      // 0x80040E37, table does not exist
constexpr long NotSupported = -2147217887;       // 0x80040E21, multi-step/unsupported
} // namespace err

} // namespace zv
