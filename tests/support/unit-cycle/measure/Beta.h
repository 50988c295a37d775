#pragma once

class CBeta
{
};
