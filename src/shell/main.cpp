// Process entry (placeholder: the window and the demo arrive with the shell).
int main()
{
    return 0;
}
