#pragma once
// The device simulator; filled in by the simulator work.
