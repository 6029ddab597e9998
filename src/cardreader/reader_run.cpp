#include "cardreader/reader_run.h"

#include "cardreader/ignore_failure.h"
#include "cardreader/reader_ports.h"
#include "cardreader/status_file.h"
#include "common/program_end.h"
#include "startup/module_routines.h"

namespace orbin {
namespace {

constexpr char kFailedMark = 'X';

std::string PortText(int port) { return "COM: " + std::to_string(port); }

}  // namespace

ReaderRun::ReaderRun(ReaderRunPlatform platform) : platform_(platform) {}

void ReaderRun::Run(std::string_view argument_text, std::string_view executable_base_name) {
  if (executable_base_name == kReaderExecutableName) {
    platform_.directory.ChangeDrive(kReaderBackupDrive);
    platform_.directory.ChangeDirectory(kReaderBackupDirectory);
  }
  const ReaderPorts ports = ReaderPortsFromArguments(argument_text);

  Attempt(ports.first);
  // One copy of the marks serves both ports.
  const std::string marks = ReadStatusFile(platform_.files);
  const auto mark_at = [&](std::size_t index) {
    return index < marks.size() ? marks[index] : '\0';
  };
  // A new failure on the first port stops the run before the second.
  if (RecordStatus(1, ports.first, mark_at(0))) CloseReaderAndEnd();
  if (!ports.second) CloseReaderAndEnd();

  reader_status_ = platform_.reader.csCloseCom();
  Attempt(*ports.second);
  RecordStatus(2, *ports.second, mark_at(1));
  CloseReaderAndEnd();
}

void ReaderRun::Attempt(int port) {
  reader_status_ = platform_.reader.csOpenCom(static_cast<std::int16_t>(port - 1));
  if (reader_status_ != 0) {
    platform_.progress.ShowProgress("無法開啟:  " + PortText(port));
    WaitSeconds(1, platform_.clock, platform_.events);
    reader_status_ = 0;
  } else {
    reader_status_ = platform_.reader.hisGetCardStatus(kReaderCardType);
  }
  if (reader_status_ == 1) {
    AuthenticateSam(port);
    reader_status_ = platform_.reader.hisGetCardStatus(kReaderCardType);
  }
}

void ReaderRun::AuthenticateSam(int port) {
  platform_.progress.ShowProgress(PortText(port) + "  進行認證");
  reader_status_ = platform_.reader.csVerifySAMDC();
  platform_.progress.ShowProgress(PortText(port) +
                                  (reader_status_ == 0 ? "  認證成功" : "  認證失敗"));
}

bool ReaderRun::RecordStatus(std::int16_t mark_position, int port, char mark) {
  if (reader_status_ == 0 && mark == kFailedMark) {
    MarkStatusFile(platform_.files, mark_position, "0");
    return false;
  }
  if (reader_status_ > 1 && mark != kFailedMark) {
    MarkStatusFile(platform_.files, 3, std::to_string(port));
    MarkStatusFile(platform_.files, mark_position, std::string(1, kFailedMark));
    return true;
  }
  return false;
}

void ReaderRun::CloseReaderAndEnd() {
  IgnoreFailure([&] { platform_.progress.Unload(); });
  IgnoreFailure([&] { platform_.reader.csCloseCom(); });
  throw EndProgram{0};
}

}  // namespace orbin
