#include "startup/job_registry_win32.h"

#include <map>

namespace orbin {
namespace {

std::map<Job, JobRunner>& Registry() {
  static std::map<Job, JobRunner> registry;  // built during static initialisation
  return registry;
}

}  // namespace

void RegisterJob(Job job, JobRunner runner) { Registry()[job] = runner; }

JobRunner FindJob(Job job) {
  auto it = Registry().find(job);
  return it == Registry().end() ? nullptr : it->second;
}

}  // namespace orbin
