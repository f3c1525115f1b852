#pragma once
// Test support: scripted services and temporary demo databases.
