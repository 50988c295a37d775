#pragma once

// Knows Beta by name only.
class CBeta;

class CAlpha
{
};
