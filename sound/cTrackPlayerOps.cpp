// The instruction set of cTrackPlayer (see cTrackOpcodes.h for the table).
#include <cstdlib>

#include "sound/cHitEngine.h"
#include "sound/cHitList.h"
#include "sound/cSampleChannel.h"
#include "sound/cTrackOpcodes.h"
#include "sound/cTrackPlayer.h"

namespace {

struct BinaryOp {
    uint8_t op;
    const char* dest;
    const char* src;
};

// Two-register opcodes that write dest from dest and src.
constexpr BinaryOp kBinaryOps[] = {
    {kTrackCmdAdd, "Add lDestReg", "Add lSrcReg"},         {kTrackCmdSub, "Sub lDestReg", "Sub lSrcReg"},
    {kTrackCmdDiv, "Div lDestReg", "Div lSrcReg"},         {kTrackCmdMul, "Mul lDestReg", "Mul lSrcReg"},
    {kTrackCmdLess, "Less lDestReg", "Less lSrcReg"},      {kTrackCmdGreater, "Greater lDestReg", "Greater lSrcReg"},
    {kTrackCmdAnd, "And lDestReg", "And lSrcReg"},         {kTrackCmdNand, "Nand lDestReg", "Nand lSrcReg"},
    {kTrackCmdOr, "Or lDestReg", "Or lSrcReg"},            {kTrackCmdNor, "Nor lDestReg", "Nor lSrcReg"},
    {kTrackCmdXor, "Xor lDestReg", "Xor lSrcReg"},
};

struct WaitOp {
    uint8_t op;
    const char* first;
    const char* second;
};

constexpr WaitOp kWaitOps[] = {
    {kTrackCmdWaitEq, "WaitEq Src", "WaitEq Dest"},       {kTrackCmdWaitNe, "WaitNe Dest", "WaitNe Src"},
    {kTrackCmdWaitGt, "WaitGt Dest", "WaitGt lDestRegNum"}, {kTrackCmdWaitLt, "WaitLt Dest", "WaitLt lDestRegNum"},
    {kTrackCmdWaitGe, "WaitGe Dest", "WaitGe lDestRegNum"}, {kTrackCmdWaitLe, "WaitLe Dest", "WaitLe lDestRegNum"},
};

int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

}  // namespace

void cTrackPlayer::Execute(uint8_t op) {
    cHitEngine& engine = *mpEngine;
    const auto reg = [this](const char* operand) { return FetchRegister(operand); };

    for (const BinaryOp& binary : kBinaryOps) {
        if (binary.op != op) continue;
        const int32_t dest = reg(binary.dest);
        const int32_t src = reg(binary.src);
        const int64_t a = GetVar(dest);
        const int64_t b = GetVar(src);
        int64_t result = 0;
        switch (op) {
            case kTrackCmdAdd: result = a + b; break;
            case kTrackCmdSub: result = a - b; break;
            case kTrackCmdDiv:
                if (b == 0) FailOp(binary.src);
                result = a / b;
                break;
            case kTrackCmdMul: result = a * b; break;
            case kTrackCmdLess: result = a < b; break;
            case kTrackCmdGreater: result = a > b; break;
            // The same comparison as Greater: not a bitwise or logical and.
            case kTrackCmdAnd: result = a > b; break;
            case kTrackCmdNand: result = !(a != 0 && b != 0); break;
            case kTrackCmdOr: result = a | b; break;
            case kTrackCmdNor: result = a == 0 && b == 0; break;
            case kTrackCmdXor: result = a ^ b; break;
            default: break;
        }
        Write(dest, Wrap(result));
        return;
    }
    for (const WaitOp& wait : kWaitOps) {
        if (wait.op != op) continue;
        const int32_t a = GetVar(reg(wait.first));
        const int32_t b = GetVar(reg(wait.second));
        bool holds = false;
        switch (op) {
            case kTrackCmdWaitEq: holds = a == b; break;
            case kTrackCmdWaitNe: holds = a != b; break;
            case kTrackCmdWaitGt: holds = a > b; break;
            case kTrackCmdWaitLt: holds = a < b; break;
            case kTrackCmdWaitGe: holds = a >= b; break;
            default: holds = a <= b; break;
        }
        if (!holds) RepeatIn(2);
        return;
    }

    switch (op) {
        case kTrackCmdNoteOn: {
            const int32_t note = GetVar(reg("NoteOn Note"));
            const int32_t duration = GetVar(reg("NoteOn Duration"));
            mNoteOff = engine.Now() + static_cast<uint32_t>(duration);
            PlayNote(note);
            return;
        }
        case kTrackCmdNoteOnByte:
            PlayNote(FetchByte());
            return;
        case kTrackCmdNoteOff:
            FetchByte();
            if (mpChannel) mpChannel->NoteOff();
            return;
        case kTrackCmdLoadb: {
            const int32_t dest = reg("Loadb");
            if (!SetVar(dest, FetchByte(), false)) Fail("Could not set register");
            return;
        }
        case kTrackCmdLoadl: {
            const int32_t dest = reg("Loadl");
            Write(dest, FetchLong());
            return;
        }
        case kTrackCmdSet: {
            const int32_t dest = reg("Set Dest");
            Write(dest, GetVar(reg("Set Src")));
            return;
        }
        case kTrackCmdCall: {
            const int32_t index = FetchLong();
            if (mCallStack.size() >= kMaxCallDepth) Fail("TRACK ERROR: kTrackCmdCall stack full");
            const Pointer back = mIp;
            JumpTo(static_cast<uint32_t>(index));
            mCallStack.push_back(back);
            return;
        }
        case kTrackCmdReturn:
        case kTrackCmdReturn2:
            if (mCallStack.empty()) {
                Stop();
                return;
            }
            mIp = mCallStack.back();
            mCallStack.pop_back();
            return;
        case kTrackCmdWait:
            mWaitUntil = engine.Now() + static_cast<uint32_t>(GetVar(reg("Wait")));
            return;
        case kTrackCmdWaitSamp:
            if (mpChannel && mpChannel->IsRunning()) RepeatIn(2);
            return;
        case kTrackCmdJump:
            JumpTo(static_cast<uint32_t>(FetchLong()));
            return;
        case kTrackCmdTest:
            SetFlags(GetVar(reg("Test")));
            return;
        case kTrackCmdNop:
        case kTrackCmdNop2:
        case kTrackCmdNop3:
            return;
        case kTrackCmdCmp: {
            const int32_t a = GetVar(reg("Cmp Dest"));
            const int32_t b = GetVar(reg("Cmp Src"));
            mbZero = a == b;
            mbPositive = a > b;
            mbNegative = a < b;
            return;
        }
        case kTrackCmdNot: {
            const int32_t dest = reg("Not lDestReg");
            Write(dest, GetVar(dest) == 0 ? 1 : 0);
            return;
        }
        case kTrackCmdRand: {
            const int32_t dest = reg("Rand lDestReg");
            const int64_t low = GetVar(reg("Rand lMinReg"));
            const int64_t high = GetVar(reg("Rand lMaxReg"));
            if (high <= low) FailOp("Rand lMaxReg");
            Write(dest, Wrap(low + engine.Random().Next(static_cast<uint32_t>(high - low - 1))));
            return;
        }
        case kTrackCmdAbs: {
            const int32_t dest = reg("Rand lDestReg");
            Write(dest, Wrap(std::llabs(int64_t(GetVar(dest)))));
            return;
        }
        case kTrackCmdEnd:
            Stop();
            return;
        case kTrackCmdAssert:
            GetVar(reg("Assert lDestReg"));
            Stop();
            return;
        case kTrackCmdGetVar: {
            const int32_t dest = reg("GetVar lMaxReg");
            Write(dest, GetVar(GetVar(reg("GetVar lSrcReg"))));
            return;
        }
        case kTrackCmdLoop:
            mIp = mLoop;
            return;
        case kTrackCmdSetLoop:
            mLoop = mIp;
            return;
        case kTrackCmdCallback:
            GetVar(reg("Callback lRegId1"));
            GetVar(reg("Callback lRegId2"));
            return;
        case kTrackCmdSmartAdd: {
            const int32_t id = GetVar(reg("SmartAdd lSrcReg"));
            CurrentList()->Add(static_cast<uint32_t>(id));
            return;
        }
        case kTrackCmdSmartRemove: {
            const int32_t id = GetVar(reg("SmartRemove lSrcReg"));
            CurrentList()->Remove(static_cast<uint32_t>(id));
            return;
        }
        case kTrackCmdSmartClear:
            CurrentList()->Clear();
            return;
        case kTrackCmdSmartSetCrit: {
            const int32_t count = GetVar(reg("SmartSetCrit lSrcReg"));
            CurrentList()->SetKeepOut(static_cast<uint32_t>(count));
            return;
        }
        case kTrackCmdSmartChoose: {
            const int32_t dest = reg("SmartChoose Dest");
            cHitList* list = CurrentList();
            if (list->Available().empty() && list->Recent().empty()) Fail("Attempt to choose from empty track list");
            Write(dest, static_cast<int32_t>(list->Pick(engine.Random())));
            return;
        }
        case kTrackCmdMin:
        case kTrackCmdMax: {
            const int32_t dest = reg(op == kTrackCmdMin ? "Min lDestReg" : "Max lDestReg");
            const int32_t bound = FetchLong();
            const int32_t value = GetVar(dest);
            Write(dest, op == kTrackCmdMin ? std::min(value, bound) : std::max(value, bound));
            return;
        }
        case kTrackCmdInc:
        case kTrackCmdDec: {
            const int32_t dest = reg(op == kTrackCmdInc ? "Inc Dest" : "Dec Dest");
            Write(dest, Wrap(int64_t(GetVar(dest)) + (op == kTrackCmdInc ? 1 : -1)));
            return;
        }
        case kTrackCmdPrintReg:
            GetVar(reg("PrintReg lSrcReg"));
            return;
        case kTrackCmdPlayTrack:
        case kTrackCmdKillTrack: {
            const bool play = op == kTrackCmdPlayTrack;
            const char* operand = play ? "PlayTrack Src" : "KillTrack Src";
            const int32_t id = GetVar(reg(operand));
            cISoundObject* other = id > 0 ? engine.GetObject(static_cast<uint32_t>(id)) : nullptr;
            if (!other) FailOp(operand);
            if (!play) {
                other->Kill();
                return;
            }
            other->AddRef();
            other->StartAndActivate(GetLocal(1), GetLocal(2), GetLocal(3));
            other->SetVar(47, GetVar(47), false);
            other->Release();
            return;
        }
        case kTrackCmdSharedNoteOn:
            if (cSampleChannel* shared = engine.SharedChannel()) shared->NoteOn(0);
            return;
        case kTrackCmdSharedPitch:
        case kTrackCmdSharedPitch2:
        case kTrackCmdSharedPitch3: {
            const int32_t cents = op == kTrackCmdSharedPitch ? 3600 : op == kTrackCmdSharedPitch2 ? 4100 : 4624;
            if (cSampleChannel* shared = engine.SharedChannel()) shared->SetPitch(cents);
            return;
        }
        case kTrackCmdJumpEq:
        case kTrackCmdJumpNe:
        case kTrackCmdJumpGt:
        case kTrackCmdJumpLt:
        case kTrackCmdJumpGe:
        case kTrackCmdJumpLe: {
            const uint32_t index = static_cast<uint32_t>(FetchLong());
            bool taken = false;
            switch (op) {
                case kTrackCmdJumpEq: taken = mbZero; break;
                case kTrackCmdJumpNe: taken = !mbZero; break;
                case kTrackCmdJumpGt: taken = mbPositive && !mbZero; break;
                case kTrackCmdJumpLt: taken = mbNegative && !mbZero; break;
                case kTrackCmdJumpGe: taken = mbPositive || mbZero; break;
                default: taken = mbNegative || mbZero; break;
            }
            if (taken) JumpTo(index);
            return;
        }
        case kTrackCmdSmartSetList: {
            const int32_t id = GetVar(reg("SmartSetList lSrcReg"));
            if (id != 0 && !engine.GetHitList(static_cast<uint32_t>(id))) Fail("Undefined Hit List");
            mCurrentList = static_cast<uint32_t>(id);
            return;
        }
        case kTrackCmdSeqGroupKill:
        case kTrackCmdSeqGroupReturn:
        case kTrackCmdSeqGroupReturn2: {
            const bool kill = op == kTrackCmdSeqGroupKill;
            const char* operand = kill ? "SeqGroupKill Src" : "SeqGroupReturn lSrcReg";
            const int32_t group = GetVar(reg(operand));
            if (group < 1 || group > cHitEngine::kSequenceGroups) FailOp(operand);
            const uint32_t me = GetTarget()->GetId();
            const uint32_t current = engine.GetSequenceGroup(group);
            engine.SetSequenceGroup(group, me);
            if (current == 0 || current == me) return;
            if (!kill) {
                Kill();
                return;
            }
            cISoundObject* other = engine.GetObject(current);
            if (!other) FailOp(operand);
            if (other->GetVar(19) != 0) {
                if (!(other->GetVar(45) && other->GetVar(41) == 19)) {
                    other->SetVar(40, 0, true);
                    other->SetVar(41, 19, true);
                    other->SetVar(42, 200, true);
                    other->SetVar(45, 1, true);
                }
                RepeatIn(2);
            } else {
                other->Kill();
            }
            return;
        }
        case kTrackCmdGetSrcParam: {
            const int32_t dest = reg("KillTrack Dest");
            const int32_t source = GetVar(reg("KillTrack Src"));
            const int32_t param = GetVar(reg("KillTrack Parm"));
            int32_t value = 0;
            if (!engine.GetSourceParam(static_cast<uint32_t>(source), param, value))
                Fail("Illegal source parameter request");
            Write(dest, value);
            return;
        }
        case kTrackCmdSeqGroupTrackId: {
            const int32_t group = GetVar(reg("SeqGroupTrackId lSrcReg"));
            const int32_t dest = reg("SeqGroupTrackId lSrcReg");
            if (group < 1 || group > cHitEngine::kSequenceGroups) FailOp("SeqGroupTrackId lSrcReg");
            Write(dest, static_cast<int32_t>(engine.GetSequenceGroup(group)));
            return;
        }
        case kTrackCmdSetLocalLocal: {
            const int32_t dest = reg("SetLocalLocal Dest");
            SetLocal(dest, GetLocal(reg("SetLocalLocal Src")), false);
            return;
        }
        case kTrackCmdSetLocalTarget: {
            const int32_t dest = reg("SetLocalTarget Dest");
            SetVar(dest, GetLocal(reg("SetLocalTarget Src")), false);
            return;
        }
        case kTrackCmdSetTargetLocal: {
            const int32_t dest = reg("SetTargetLocal Dest");
            SetLocal(dest, GetVar(reg("SetTargetLocal Src")), false);
            return;
        }
        default:
            Fail("Illegal Instruction");
    }
}
