// Status codes of the resource layer: 0 for success, negative for failures.
// The plain-file codes (-39 to -50) pass through the containers unchanged.
#pragma once

enum ResStatus : int {
  kResOK = 0,
  kResBadData = -1,          // wrong stored type, size out of range, bad record
  kFlatDeleteFailed = -39,
  kFlatDeleteMissing = -40,
  kFlatCreateFailed = -42,
  kFlatCreateExists = -43,
  kResNotWritable = -45,
  kFlatShortWrite = -46,
  kFlatAlreadyOpen = -47,
  kFlatShortRead = -48,
  kFlatNotOpen = -49,
  kFlatOpenFailed = -50,
  kResNoVariants = -91,
  kResTypeRefused = -92,
  kResBadHeader = -93,
  kResNoMember = -94,
  kResUnsupported = -95,
  kResNotFound = -98,
  kResUnknownLabel = -99,
  kResBadTypeIndex = -100,
  kResOutOfMemory = -200,
  kResNoKind = -250,
};
