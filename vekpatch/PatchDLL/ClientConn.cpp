#include "vekpatch/PatchDLL/ClientConn.h"

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <new>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/PatchFile.h"
#include "platform/Registry.h"
#include "vekpatch/Common/InstallOps.h"
#include "vekpatch/Common/LanguageResources.h"
#include "vekpatch/Common/VekSettings.h"

namespace vek {

namespace {

constexpr const char* kClientUnit = "clientconn.cpp";

// The connection the patch engine's callback reports to.
std::atomic<ClientConn*> gPatchClient{nullptr};

uint32_t LastErrnoOr(uint32_t fallback) { return errno != 0 ? static_cast<uint32_t>(errno) : fallback; }

platform::Registry& SettingsStore() { return platform::Registry::Default(); }

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// REGINIT.DAT is a line of tab-separated fields: a field holding a tab or a
// line break would forge fields or lines.
bool PlainField(const std::string& s) { return s.find_first_of("\t\r\n") == std::string::npos; }

using Handler = void (ClientConn::*)();

// Indexed by message id - 2048.
constexpr Handler kHandlers[26] = {
    &ClientConn::HandleNak,               // 2048
    &ClientConn::HandleNak,               // 2049
    &ClientConn::HandleNak,               // 2050
    &ClientConn::HandleMsgRegKey,         // 2051
    &ClientConn::HandleMsgRegTestKey,     // 2052
    &ClientConn::HandleMsgRegQueryDword,  // 2053
    &ClientConn::HandleNak,               // 2054
    &ClientConn::HandleMsgRegTestDword,   // 2055
    &ClientConn::HandleMsgQueryVersion,   // 2056
    &ClientConn::HandleNak,               // 2057
    &ClientConn::HandleMsgAskHost,        // 2058
    &ClientConn::HandleMsgHostValue,      // 2059
    &ClientConn::HandleMsgUpdateInfo,     // 2060
    &ClientConn::HandleMsgFileBegin,      // 2061
    &ClientConn::HandleMsgFileChunk,      // 2062
    &ClientConn::HandleMsgFileEnd,        // 2063
    &ClientConn::HandleMsgApplyUpdates,   // 2064
    &ClientConn::HandleMsgRegSetValue,    // 2065
    &ClientConn::HandleMsgRegDeleteValue, // 2066
    &ClientConn::HandleMsgRegInitFile,    // 2067
    &ClientConn::HandleMsgShowText,       // 2068
    &ClientConn::HandleStatus,            // 2069
    &ClientConn::HandleMsgGoodbye,        // 2070
    &ClientConn::HandleNak,               // 2071
    &ClientConn::HandleNak,               // 2072
    &ClientConn::HandleMsgOpenBrowser,    // 2073
};

}  // namespace

ClientConn::ClientConn(PatchApplyFn engine) : engine_(engine) { gPatchClient = this; }

ClientConn::~ClientConn() {
  CloseReceived();
  ClientConn* self = this;
  gPatchClient.compare_exchange_strong(self, nullptr);
}

void ClientConn::Fail(uint32_t code, int stringId, int line, std::initializer_list<std::string> texts,
                      std::initializer_list<int64_t> numbers) const {
  RaiseVek(code, stringId, kClientUnit, line, texts, numbers);
}

int ClientConn::ReportToHost(int32_t code, intptr_t data, int32_t value) {
  if (callback_ == nullptr) Fail(kErrStopped, 70, __LINE__);
  const int32_t result = callback_(context_, code, data, value);
  if (result == 1 || code == 13) return result;
  callback_ = nullptr;
  Fail(kErrStopped, 70, __LINE__);
}

int ClientConn::ReportText(int32_t code, const std::string& text, int32_t value) {
  return ReportToHost(code, reinterpret_cast<intptr_t>(text.c_str()), value);
}

void ClientConn::ReportError(const VekException& e, int32_t value) {
  ErrorInfo info = MakeErrorInfo(e);
  ReportToHost(11, reinterpret_cast<intptr_t>(&info), value);
}

int ClientConn::Percent(uint64_t part, uint64_t whole) const {
  // Nothing to do counts as done.
  if (whole == 0 || part >= whole) return 100;
  return static_cast<int>(part * 100 / whole);
}

// ---------------------------------------------------------------- the run

int ClientConn::Run(const std::string& name, intptr_t context, VekCallback callback) {
  name_ = name;
  context_ = context;
  callback_ = callback;
  restart_ = false;
  active_ = true;
  int result = 0;
  try {
    try {
      Connect();
      if (abortRequested_) {
        CloseSocket();
      } else {
        running_ = true;
        ReportText(12, LanguageMessage(72, {name_}), static_cast<int32_t>(LanguageMessage(72, {name_}).size()));
        {
          Lock lock(*this);
          BeginMsg(kMsgProductInfo);
          AddDword(ReadRegistryDword(kVekPatchKey, "Language"));
          AddText(name_);
          if (SendMsg() != 0) Fail(kErrTransfer, 23, __LINE__);
        }
        while (running_) {
          if (GetNextMsg(Settings().loopWaitMs) == 1) Dispatch();
          if (abortEvent_.exchange(false)) {
            Lock lock(*this);
            BeginMsg(kMsgCancel);
            if (SendMsg() != 0) Fail(kErrTransfer, 26, __LINE__);
          }
        }
        if (restart_) ReportToHost(16, 0, 0);
      }
    } catch (const std::bad_alloc&) {
      Fail(kErrOutOfMemory, 37, __LINE__);
    }
  } catch (const VekException& e) {
    if (abortRequested_) {
      result = 0;
    } else {
      lastErrorText_ = e.Message();
      lastErrorCode_ = e.Code();
      CloseSocket();
      result = -1;
      if (callback_ != nullptr) {
        try {
          ReportError(e, 4);
        } catch (const VekException&) {
        }
      }
    }
  }
  CloseReceived();
  running_ = false;
  active_ = false;
  return result;
}

void ClientConn::Dispatch() {
  const uint16_t id = MsgId();
  (this->*kHandlers[id - kFirstMessageId])();
}

void ClientConn::Connect() {
  try {
    std::string host;
    uint16_t port = 0;
    if (!GetPatchServer(host, port)) Fail(kErrServerSetting, 43, __LINE__);
    for (int redirects = 0;; ++redirects) {
      ResetSequence();
      platform::SocketAddress address;
      NetSocket& net = NetSocket::Instance();
      if (net.Create(host, port, Socket(), address) != 0) Fail(kErrSocket, 28, __LINE__);
      if (abortRequested_) return;
      if (net.Connect(Socket(), address) != 0 || net.FlushSocket(Socket()) != 0) Fail(kErrSocket, 35, __LINE__);
      if (abortRequested_) return;
      SendConnect();
      const int reply = ReadLoginReply(host, port);
      if (reply == 0) break;
      if (reply == 1) Fail(kErrRefused, 69, __LINE__);
      CloseSocket();
      // A server that keeps sending the client on is not followed for ever.
      if (redirects + 1 > Settings().maxRedirects) Fail(kErrProtocol, 59, __LINE__);
    }
    ReportToHost(0, 0, 1);
  } catch (const VekException&) {
    CloseSocket();
    if (callback_ != nullptr && !abortRequested_) {
      try {
        ReportToHost(0, 0, 1);
      } catch (const VekException&) {
      }
    }
    throw;
  }
}

void ClientConn::SendConnect() {
  Lock lock(*this);
  BeginMsg(kMsgConnect);
  AddDword(3);
  if (SendMsg() != 0) Fail(kErrTransfer, 27, __LINE__);
  GetNextMsg();
  if (MsgId() != kMsgStatus || PayloadSize() < 1 || ReadByte(0) == 0) Fail(kErrProtocol, 58, __LINE__);
  received_.clear();
}

int ClientConn::ReadLoginReply(std::string& host, uint16_t& port) {
  Lock lock(*this);
  GetNextMsg();
  switch (MsgId()) {
    case kMsgStatus:
      HandleMsgStatus();
      return 0;
    case kMsgRedirect: {
      const bool refused = PayloadSize() == 0;
      if (!refused) {
        port = ReadWord(0);
        host = ReadText(2);
      }
      GetNextMsg();
      if (MsgId() != kMsgGoodbye) Fail(kErrProtocol, 59, __LINE__);
      Connection::HandleMsgGoodbye();
      return refused ? 1 : 2;
    }
    case kMsgGoodbye:
      Connection::HandleMsgGoodbye();
      return 1;
    default:
      Fail(kErrProtocol, 59, __LINE__);
  }
}

void ClientConn::Abort() {
  abortRequested_ = true;
  if (running_) restart_ = false;
  abortEvent_ = true;
  const VekSettings& s = Settings();
  for (int i = 0; i < s.abortPauses && active_; ++i) {
    // While connecting there is no loop to hear the event: end the wait now.
    if (!running_) Socket().Shutdown();
    platform::SleepMs(static_cast<uint32_t>(s.abortPauseMs));
  }
  if (active_) {
    Socket().Shutdown();
    running_ = false;
  }
}

// ---------------------------------------------------------------- handlers

void ClientConn::HandleMsgGoodbye() {
  Connection::HandleMsgGoodbye();
  running_ = false;
}

void ClientConn::HandleMsgRegKey() {
  Lock lock(*this);
  if (MsgLength() == 9) {
    ReportError(VekGenericException(kErrNoKey, LanguageMessage(62), kClientUnit, __LINE__), 4);
    return;
  }
  keyFlags_[0] = ReadByte(0);
  keyFlags_[1] = ReadByte(1);
  currentKey_ = ReadText(2);
}

void ClientConn::HandleMsgRegTestKey() {
  Lock lock(*this);
  platform::RegKey key;
  const platform::RegStatus rc = SettingsStore().OpenKey(platform::RegRoot::kLocalMachine, currentKey_, platform::RegAccess::kRead, key);
  if (rc == platform::kRegSuccess) {
    SendAck();
    return;
  }
  SendNak();
  const std::string message = rc == platform::kRegNotFound ? LanguageMessage(63, {name_}) : LanguageMessage(18, {currentKey_});
  ReportError(VekGenericException(static_cast<uint32_t>(rc), message, kClientUnit, __LINE__), 0);
}

bool ClientConn::ReadCurrentDword(const std::string& valueName, uint32_t missing, uint32_t& value) {
  platform::RegKey key;
  platform::RegStatus rc = SettingsStore().OpenKey(platform::RegRoot::kLocalMachine, currentKey_, platform::RegAccess::kRead, key);
  if (rc == platform::kRegNotFound) {
    SendNak();
    return false;
  }
  if (rc != platform::kRegSuccess) {
    SendNak();
    Fail(static_cast<uint32_t>(rc), 18, __LINE__, {currentKey_});
  }
  value = missing;
  rc = key.QueryDword(valueName, value);
  if (rc == platform::kRegNotFound) value = missing;
  else if (rc != platform::kRegSuccess) {
    SendNak();
    Fail(static_cast<uint32_t>(rc), 19, __LINE__, {currentKey_, valueName});
  }
  return true;
}

void ClientConn::HandleMsgRegQueryDword() {
  Lock lock(*this);
  uint32_t value = 0;
  if (!ReadCurrentDword(ReadText(0), 1033, value)) return;
  BeginMsg(kMsgDwordAnswer);
  AddDword(value);
  if (SendMsg() != 0) Fail(kErrTransfer, 24, __LINE__);
}

void ClientConn::HandleMsgRegTestDword() {
  Lock lock(*this);
  uint32_t value = 0;
  if (!ReadCurrentDword(ReadText(0), 0, value)) return;
  SendStatus(value != 0 ? 1 : 0);
}

void ClientConn::HandleMsgQueryVersion() {
  Lock lock(*this);
  const uint32_t kind = ReadDword(0);
  const std::string name = ReadText(4);
  std::string answer;
  if (kind == 0) {
    std::string key = currentKey_;
    std::string value = name;
    const size_t slash = name.rfind('\\');
    if (slash != std::string::npos) {
      key += "\\" + name.substr(0, slash);
      value = name.substr(slash + 1);
    }
    answer = GetRegistryVersion(key, value);
  } else if (kind == 1) {
    answer = GetFileProductVersion(name);
  }
  BeginMsg(kMsgTextAnswer);
  AddText(answer);
  if (SendMsg() != 0) Fail(kErrTransfer, 25, __LINE__);
}

void ClientConn::HandleMsgAskHost() {
  Lock lock(*this);
  const std::string question = LanguageMessage(83, {ReadText(0)});
  const int answer = ReportText(13, question, static_cast<int32_t>(question.size()));
  SendStatus(answer != 0 ? 1 : 0);
}

void ClientConn::HandleMsgHostValue() {
  Lock lock(*this);
  ReportToHost(10, ReadFlag(0) ? 1 : 0, 1);
}

void ClientConn::HandleMsgUpdateInfo() {
  Lock lock(*this);
  fileCount_ = ReadWord(0);
  totalBytes_ = ReadDword(2);
  const uint32_t neededBytes = ReadDword(6);
  const std::string status = LanguageMessage(71, {}, {fileCount_, totalBytes_});
  ReportText(12, status, static_cast<int32_t>(status.size()));
  const uint32_t neededKB = neededBytes / 1024 + 1;
  const std::string folder = GetDownloadDir();
  const std::string drive = folder.size() >= 2 && folder[1] == ':' ? folder.substr(0, 2) : folder;
  bool yes = true;
  for (uint32_t shortfall = GetDiskShortfallKB(folder, neededKB); shortfall > 0;
       shortfall = GetDiskShortfallKB(folder, neededKB)) {
    const std::string question = LanguageMessage(84, {drive}, {shortfall});
    if (ReportText(13, question, static_cast<int32_t>(question.size() + 1)) == 0) {
      yes = false;
      break;
    }
  }
  SendStatus(yes ? 1 : 0);
}

std::string ClientConn::InstallFolder() {
  const std::optional<std::string> install = GetInstallPath(currentKey_);
  if (!install) Fail(kErrProtocol, 18, __LINE__, {currentKey_});
  return *install;
}

std::string ClientConn::ResolveTargetDir(const std::string& text) {
  const std::string install = InstallFolder();
  std::string root = platform::AbsolutePath(install);
  if (root.empty() || root.back() != '/') root += '/';
  if (text.empty()) return root;
  // Folders of another system (%SYSDIR%, %WINDIR%, the Java folders) and
  // drive letters have no place here; every target stays inside the
  // installation, whatever the server names.
  if (text.find('%') != std::string::npos || (text.size() > 1 && text[1] == ':')) {
    Fail(kErrProtocol, 2, __LINE__, {text});
  }
  std::string native = platform::ToNativeSeparators(text);
  if (native[0] != '/') native = root + native;
  std::string resolved = platform::AbsolutePath(native);
  if (resolved.empty() || resolved.back() != '/') resolved += '/';
  if (resolved.compare(0, root.size(), root) != 0) Fail(kErrProtocol, 2, __LINE__, {text});
  return resolved;
}

void ClientConn::HandleMsgFileBegin() {
  Lock lock(*this);
  try {
    const uint32_t size = ReadDword(0);
    const bool patch = ReadFlag(4);
    const std::string digest = ReadBytes(5, 32);
    size_t next = 0;
    const std::string name = ReadText(37, &next);
    const std::string targetText = ReadText(next);
    if (fileOpen_) Fail(kErrProtocol, 45, __LINE__, {"HandleMsgFileBegin()"});
    if (!platform::IsPlainPatchName(name)) Fail(kErrProtocol, 11, __LINE__, {name});
    const std::string targetDir = ResolveTargetDir(targetText);

    fileBytes_ = 0;
    fileSize_ = size;
    const std::string download = GetDownloadDir() + name;
    if (!out_.Open(download, platform::File::kWrite, platform::File::Disposition::kCreateAlways)) {
      Fail(kErrFileOpen, 11, __LINE__, {download});
    }
    fileOpen_ = true;
    received_.push_back(ReceivedFile{download, targetDir, digest, patch});
    ReportText(1, name, static_cast<int32_t>(size));
  } catch (const VekException&) {
    throw;
  } catch (const std::bad_alloc&) {
    Fail(kErrOutOfMemory, 37, __LINE__);
  } catch (const std::exception&) {
    Fail(kErrUnexpected, 45, __LINE__, {"HandleMsgFileBegin()"});
  }
}

void ClientConn::HandleMsgFileChunk() {
  Lock lock(*this);
  if (!fileOpen_) Fail(kErrProtocol, 12, __LINE__);
  const uint16_t size = PayloadSize();
  // More than the file was announced with is a protocol error, not a bigger file.
  if (size > fileSize_ - fileBytes_) Fail(kErrProtocol, 45, __LINE__, {"HandleMsgFileChunk()"});
  if (out_.Write(Payload(), size) != size) Fail(LastErrnoOr(kErrUnexpected), 11, __LINE__, {out_.Path()});
  fileBytes_ += size;
  allBytes_ += size;
  ReportToHost(2, Percent(fileBytes_, fileSize_), 1);
  ReportToHost(6, Percent(allBytes_, totalBytes_), 1);
}

void ClientConn::HandleMsgFileEnd() {
  Lock lock(*this);
  if (!fileOpen_ || received_.empty()) Fail(kErrProtocol, 57, __LINE__);
  CloseReceived();
  ReportToHost(3, 0, 0);
  const ReceivedFile file = received_.back();
  const std::string name = FileNameOf(file.downloadPath);
  ReportText(4, name, static_cast<int32_t>(name.size()));
  std::string digest;
  const bool accepted = fileBytes_ == fileSize_ && Md5Digest(file.downloadPath, digest) && digest == file.digest;
  if (accepted) {
    SendAck();
  } else {
    allBytes_ -= std::min<uint64_t>(allBytes_, fileBytes_);
    platform::DeleteFile(file.downloadPath);
    received_.pop_back();
    SendNak();
  }
  ReportToHost(5, accepted ? 0 : 1, 1);
}

void ClientConn::CloseReceived() {
  if (fileOpen_) out_.Close();
  fileOpen_ = false;
}

void ClientConn::HandleMsgApplyUpdates() {
  Lock lock(*this);
  try {
    RunUpdateSession();
  } catch (...) {
    try {
      SendNak();
    } catch (const VekException&) {
    }
    throw;
  }
  SendAck();
}

void ClientConn::HandleMsgRegSetValue() {
  Lock lock(*this);
  const uint8_t type = ReadByte(0);
  size_t next = 0;
  const std::string keyPath = ReadText(1, &next);
  const std::string valueName = ReadText(next, &next);
  platform::RegKey key;
  platform::RegStatus rc = SettingsStore().CreateKey(platform::RegRoot::kLocalMachine, keyPath, key);
  if (rc != platform::kRegSuccess) Fail(static_cast<uint32_t>(rc), 16, __LINE__, {keyPath});
  if (type == 1) rc = key.SetDword(valueName, ReadDword(next));
  else if (type == 0) rc = key.SetString(valueName, ReadText(next));
  if (rc != platform::kRegSuccess) Fail(static_cast<uint32_t>(rc), 17, __LINE__, {keyPath, valueName});
}

void ClientConn::HandleMsgRegDeleteValue() {
  Lock lock(*this);
  size_t next = 0;
  const std::string keyPath = ReadText(0, &next);
  const std::string valueName = ReadText(next);
  platform::RegKey key;
  const platform::RegStatus rc = SettingsStore().OpenKey(platform::RegRoot::kLocalMachine, keyPath, platform::RegAccess::kAll, key);
  if (rc != platform::kRegSuccess) Fail(static_cast<uint32_t>(rc), 18, __LINE__, {keyPath});
  key.DeleteValue(valueName);
}

void ClientConn::HandleMsgRegInitFile() {
  Lock lock(*this);
  const uint8_t operation = ReadByte(0);
  const uint8_t type = ReadByte(1);
  size_t next = 0;
  const std::string keyPath = ReadText(2, &next);
  const std::string valueName = ReadText(next, &next);
  std::string line;
  if (operation == 0) {
    const uint16_t length = ReadWord(next);
    std::string value;
    if (type == 1) value = std::to_string(ReadDword(next + 2));
    else value = ReadBytes(next + 2, length);
    if (!PlainField(value)) Fail(kErrProtocol, 45, __LINE__, {"HandleMsgRegInitFile()"});
    line = "ADD\t" + keyPath + "\t" + valueName + "\t" + std::to_string(type) + "\t" + value;
  } else {
    line = "DELETE\t" + keyPath + "\t" + valueName;
  }
  if (!PlainField(keyPath) || !PlainField(valueName)) Fail(kErrProtocol, 45, __LINE__, {"HandleMsgRegInitFile()"});
  line += "\r\n";
  const std::string path = GetDownloadDir() + "REGINIT.DAT";
  platform::File f;
  if (!f.Open(path, platform::File::kWrite, platform::File::Disposition::kOpenAlways) ||
      f.Seek(0, platform::File::Origin::kEnd) < 0 ||
      f.Write(line.data(), line.size()) != static_cast<int64_t>(line.size())) {
    Fail(kErrFileOpen, 9, __LINE__, {path});
  }
}

void ClientConn::HandleMsgShowText() {
  Lock lock(*this);
  const std::string text = ReadText(0);
  ReportText(14, text, static_cast<int32_t>(text.size()));
}

void ClientConn::HandleMsgOpenBrowser() {
  Lock lock(*this);
  const uint32_t kind = ReadDword(0);
  std::string keyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
  if (kind == 0) keyPath += "\\NETSCAPE.EXE";
  else if (kind == 1) keyPath += "\\IEXPLORE.EXE";
  bool installed = false;
  platform::RegKey key;
  platform::RegStatus rc = SettingsStore().OpenKey(platform::RegRoot::kLocalMachine, keyPath, platform::RegAccess::kRead, key);
  if (rc == platform::kRegSuccess) {
    std::string program;
    rc = key.QueryString("", program, 261);
    if (rc == platform::kRegSuccess) installed = FileExists(program);
    else if (rc != platform::kRegNotFound) Fail(kErrServerSetting, 19, __LINE__, {keyPath, "@"});
  } else if (rc != platform::kRegNotFound) {
    Fail(kErrServerSetting, 18, __LINE__, {keyPath});
  }
  SendStatus(installed ? 1 : 0);
}

// ---------------------------------------------------------------- applying

void ClientConn::RunUpdateSession() {
  try {
    const size_t n = received_.size();
    ReportToHost(6, 0, 1);
    const std::string status = LanguageMessage(80);
    ReportText(12, status, static_cast<int32_t>(status.size()));
    progressShare_ = n == 0 ? 100 : static_cast<int>(100 / n);
    applied_.clear();
    try {
      for (size_t k = 0; k < n; ++k) {
        if (abortRequested_) Fail(kErrStopped, 70, __LINE__);
        progressBase_ = static_cast<int>(k * 100 / n);
        if (received_[k].patch) ApplyPatchFile(received_[k]);
        else ApplyPlainFile(received_[k]);
        if (!received_[k].patch) {
          ReportToHost(9, 1, 1);
          ReportToHost(6, static_cast<intptr_t>((k + 1) * 100 / n), 1);
        }
      }
    } catch (...) {
      RollBack();
      throw;
    }
    FinishApplied();
    for (const ReceivedFile& f : received_) platform::DeleteFile(f.downloadPath);
    ReportToHost(6, 100, 1);
  } catch (const std::bad_alloc&) {
    Fail(kErrOutOfMemory, 37, __LINE__);
  }
}

void ClientConn::BackUp(const std::string& target) {
  Applied change;
  change.target = target;
  if (platform::FileExists(target)) {
    change.readOnly = platform::IsReadOnly(target);
    change.backup = target + ".vekold~";
    platform::SetReadOnly(change.backup, false);
    platform::DeleteFile(change.backup);
    errno = 0;
    if (!platform::CopyFile(target, change.backup, false)) {
      Fail(LastErrnoOr(5), 7, __LINE__, {target, change.backup});
    }
  }
  applied_.push_back(std::move(change));
}

void ClientConn::ApplyPlainFile(const ReceivedFile& file) {
  if (!CreateDirectoryPath(file.targetDir)) Fail(kErrCreateDirectory, 2, __LINE__, {file.targetDir});
  const std::string name = FileNameOf(file.downloadPath);
  const std::string target = file.targetDir + name;
  ReportText(7, name, static_cast<int32_t>(name.size() + 1));
  if (FilesIdentical(file.downloadPath, target)) {
    const std::string status = LanguageMessage(82, {name});
    ReportText(12, status, static_cast<int32_t>(status.size()));
    return;
  }
  // The new file is copied beside the target and checked once more before it
  // takes the target's place, so a file changed since it was verified never
  // lands.
  const std::string part = target + ".vekpart~";
  platform::SetReadOnly(part, false);
  platform::DeleteFile(part);
  errno = 0;
  if (!platform::CopyFile(file.downloadPath, part, false)) Fail(LastErrnoOr(5), 7, __LINE__, {file.downloadPath, target});
  std::string digest;
  if (!Md5Digest(part, digest) || digest != file.digest) {
    platform::DeleteFile(part);
    Fail(kErrProtocol, 45, __LINE__, {"checking " + name});
  }
  BackUp(target);
  const bool readOnly = applied_.back().readOnly;
  if (readOnly && !platform::SetReadOnly(target, false)) Fail(LastErrnoOr(5), 15, __LINE__, {target});
  errno = 0;
  if (platform::FileExists(target) && !platform::DeleteFile(target)) {
    platform::DeleteFile(part);
    Fail(LastErrnoOr(5), 7, __LINE__, {file.downloadPath, target});
  }
  if (!platform::MoveFile(part, target)) {
    platform::DeleteFile(part);
    Fail(LastErrnoOr(5), 7, __LINE__, {file.downloadPath, target});
  }
  if (readOnly && !platform::SetReadOnly(target, true)) Fail(LastErrnoOr(5), 15, __LINE__, {target});
  const std::string status = LanguageMessage(81, {name});
  ReportText(12, status, static_cast<int32_t>(status.size()));
}

void ClientConn::ApplyPatchFile(const ReceivedFile& file) {
  std::string folder = InstallFolder();
  patchFolder_ = folder;
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const std::string commandLine = "\"" + file.downloadPath + "\" \"" + folder + "\" ";
  engineMessage_.clear();
  engineError_ = nullptr;
  if (engine_ == nullptr) Fail(kErrPatchEngine, 38, __LINE__, {"no patch engine"});
  const int32_t rc = engine_(commandLine.c_str(), &PatchEngineCallback, 1);
  if (engineError_) std::rethrow_exception(engineError_);
  if (rc != 0) Fail(kErrPatchEngine, 38, __LINE__, {engineMessage_});
}

void* ClientConn::OnPatchEngine(int32_t id, void* data) {
  static char empty[1] = {0};
  // An error inside a report is kept and raised once the engine returns: it
  // must not unwind through the engine.
  if (engineError_) return empty;
  try {
    switch (id) {
      case 4:
        engineMessage_ = data != nullptr ? static_cast<const char*>(data) : "";
        return nullptr;
      case 5: {
        if (data == nullptr) return empty;
        const int percent = static_cast<int>(uint32_t(*static_cast<const uint16_t*>(data)) * 100 / 32768);
        if (percent > engineLastPercent_) {
          engineLastPercent_ = percent;
          ReportToHost(8, percent, 1);
        }
        return empty;
      }
      case 6:
        engineCount_ = data != nullptr ? *static_cast<const uint32_t*>(data) : 0;
        engineDone_ = 0;
        return empty;
      case 7: {
        engineLastPercent_ = 0;
        const std::string name = data != nullptr ? static_cast<const char*>(data) : "";
        // The engine replaces this file: keep the old one until the update
        // has succeeded.
        if (platform::IsPlainPatchName(name)) BackUp(patchFolder_ + name);
        ReportText(7, name, static_cast<int32_t>(name.size() + 1));
        return empty;
      }
      case 8: {
        ++engineDone_;
        ReportToHost(9, 1, 1);
        const int within = engineCount_ == 0 ? progressShare_
                                             : static_cast<int>(uint64_t(engineDone_) * progressShare_ / engineCount_);
        ReportToHost(6, std::min(100, progressBase_ + within), 1);
        return empty;
      }
      case 13:
        return nullptr;
      case 26:
        restart_ = true;
        return empty;
      default:
        return empty;
    }
  } catch (...) {
    engineError_ = std::current_exception();
    return empty;
  }
}

void ClientConn::RollBack() {
  for (auto it = applied_.rbegin(); it != applied_.rend(); ++it) {
    platform::SetReadOnly(it->target, false);
    platform::DeleteFile(it->target);
    if (!it->backup.empty()) {
      platform::MoveFile(it->backup, it->target);
      if (it->readOnly) platform::SetReadOnly(it->target, true);
    }
  }
  applied_.clear();
}

void ClientConn::FinishApplied() {
  for (const Applied& a : applied_) {
    if (!a.backup.empty()) {
      platform::SetReadOnly(a.backup, false);
      platform::DeleteFile(a.backup);
    }
  }
  applied_.clear();
}

void* PatchEngineCallback(int32_t id, void* data) {
  ClientConn* client = gPatchClient.load();
  static char empty[1] = {0};
  return client != nullptr ? client->OnPatchEngine(id, data) : empty;
}

}  // namespace vek
