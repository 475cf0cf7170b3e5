#pragma once

// What a load did to the user's text. The engine itself loads silently and
// passes no report; the config checker passes one so a user who edits JSON by
// hand can see every member that was dropped, clamped, replaced or ignored.

#include <string>
#include <vector>

namespace velmor {

struct LoadProblem {
  enum class Severity {
    Changed,   // something was dropped, clamped, replaced or ignored
    Unusable,  // the file as a whole could not be used
    Note,      // worth knowing, but nothing the user wrote was lost (an unknown member)
  };
  Severity severity = Severity::Changed;
  std::string file;     // file name as given to the loader (UTF-8)
  std::string path;     // JSON path, e.g. "wheels[0].actions[3].steps[1]"
  std::string message;  // plain reason, e.g. "key \"foo\" is not a key name; step dropped"
};

class LoadReport {
 public:
  void Changed(std::string file, std::string path, std::string message) {
    problems_.push_back(
        {LoadProblem::Severity::Changed, std::move(file), std::move(path), std::move(message)});
  }
  void Unusable(std::string file, std::string path, std::string message) {
    problems_.push_back(
        {LoadProblem::Severity::Unusable, std::move(file), std::move(path), std::move(message)});
  }
  void Note(std::string file, std::string path, std::string message) {
    problems_.push_back(
        {LoadProblem::Severity::Note, std::move(file), std::move(path), std::move(message)});
  }
  const std::vector<LoadProblem>& problems() const { return problems_; }
  bool Any(LoadProblem::Severity severity) const {
    for (const auto& p : problems_)
      if (p.severity == severity) return true;
    return false;
  }

 private:
  std::vector<LoadProblem> problems_;
};

}  // namespace velmor
